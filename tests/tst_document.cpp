// Loading and saving RES files, and refusing damaged ones.

#include "resbytes.h"
#include "resdocument.h"

#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

class TestDocument : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no objects, exactly 60 bytes") << testres::toBytes({});
        // The one object that the format describes byte by byte.
        testres::File example;
        example.objectCount = 1;
        QTest::newRow("the worked example") << testres::toBytes(example)
                        + QByteArray::fromHex("01000000 64000000 02000000 4100 01000000 00"
                                              "01000000 00 01000000 0c000000 05000000"
                                              "ffffffff 00000000");
        for (quint32 seed = 1; seed <= 6; ++seed) {
            testres::File file = testres::generateFile(seed, int(seed * 9 % 40));
            file.trailing = QByteArray(int(seed % 3) * 5, char(seed));
            QTest::addRow("%d objects, %d bytes after them", int(file.objects.size()),
                    int(file.trailing.size()))
                    << testres::toBytes(file);
        }
    }

    // Unknown object types, Big5 text, bytes behind a string's zero byte and after
    // the last object all come back as they were.
    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        const QString path = dir.filePath("round.res");
        QVERIFY(testres::writeFile(path, bytes));
        ResDocument document;
        QVERIFY(document.setFileName(path));
        QVERIFY2(document.load(), qPrintable(document.errorString()));
        QVERIFY(testres::writeFile(path, QByteArray()));
        QVERIFY2(document.save(), qPrintable(document.errorString()));
        QCOMPARE(testres::readAll(path), bytes);
    }

    void damagedFileIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        // Object 1 starts at 91 and has two Part1 entries; object 2 at 146, with
        // two Part2 entries.
        testres::File file;
        file.objects.resize(3);
        file.objects[1].part1.resize(2);
        file.objects[2].part2.resize(2);
        const QByteArray good = testres::toBytes(file);
        const auto patched = [&good](int offset, qint32 value) {
            QByteArray bytes = good;
            qToLittleEndian(value, bytes.data() + offset);
            return bytes;
        };
        QTest::newRow("missing file") << QByteArray() << "No such file";
        QTest::newRow("shorter than the header") << good.left(
                59) << "the file holds 59 bytes, fewer than the 60 bytes of the header.";
        QTest::newRow("negative ObjectCount")
                << patched(52, 0xffff) << "offset 52: ObjectCount -1 is negative.";
        QTest::newRow("ObjectCount beyond the file")
                << patched(52, 32767) << "offset 52: ObjectCount 32767 needs at least";
        QTest::newRow("String1 length 0")
                << patched(99, 0) << "object 1 at offset 99: String1 length 0 is outside 1 to 254.";
        QTest::newRow("String2 length 255") << patched(104, 255) << "String2 length 255 is outside";
        QTest::newRow("String3 without a zero byte") << good.left(113) + 'A'
                        + good.mid(114) << "object 1 at offset 109: String3 has no zero byte";
        QTest::newRow("negative Part1Count") << patched(114, -1) << "offset 114: Part1Count -1";
        // A count is checked against the bytes left before anything is sized by it.
        QTest::newRow("two billion Part2 entries") << patched(
                173, 2000000000) << "object 2 at offset 173: Part2Count 2000000000 needs";
        QTest::newRow("file ends inside a table")
                << good.left(good.size() - 1) << "but the file holds only 79 bytes after it.";
        QTest::newRow("file ends inside a block")
                << patched(52, 4) << "object 3 at offset 257: the file ends inside ObjectType.";
    }

    // A refused file leaves the open document as it was and says what is wrong and
    // where.
    void damagedFileIsRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString goodPath = dir.filePath("good.res");
        const QByteArray good = testres::toBytes(testres::generateFile(9, 4));
        QVERIFY(testres::writeFile(goodPath, good));
        const QString path = dir.filePath(bytes.isNull() ? "missing.res" : "damaged.res");
        QVERIFY(bytes.isNull() || testres::writeFile(path, bytes));

        ResDocument document;
        QVERIFY(document.setFileName(goodPath) && document.load() && document.setFileName(path));
        QVERIFY(!document.load());
        QVERIFY2(document.errorString().contains(reason), qPrintable(document.errorString()));
        QVERIFY(document.setFileName(goodPath) && document.save());
        QCOMPARE(testres::readAll(goodPath), good);
    }

    // A full disk, here a file-size limit, stops a save in the middle of writing:
    // the file stays as it was and the save says why.
    void fullDiskKeepsFile()
    {
        const QString path = dir.filePath("full.res");
        const QByteArray bytes = testres::toBytes(testres::generateFile(5, 12));
        QVERIFY(testres::writeFile(path, bytes));
        ResDocument document;
        QVERIFY(document.setFileName(path) && document.load());
        ++document.contents.objects[0].EntryTypeTypeID;
        // Set in this process, the limit goes back up to the hard limit after the save.
        rlimit limit;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit full = { rlim_t(bytes.size() - 1), limit.rlim_max };
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &full), 0);
        const bool saved = document.save();
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        QVERIFY2(!saved && !document.errorString().isEmpty(), "not refused with a reason");
        QCOMPARE(testres::readAll(path), bytes);
        QCOMPARE(QDir(dir.path()).entryList({ "full*" }, QDir::Files), QStringList { "full.res" });
    }

    // The path is kept in 254 UTF-16 units with its zero terminator; a zero
    // character would name another file.
    void pathLimits()
    {
        ResDocument document;
        QVERIFY(document.setFileName(QString(253, 'n'))
                && !document.setFileName(QString(254, 'n')));
        QVERIFY(!document.setFileName(QStringLiteral("a") + QChar(0) + "b.res"));
        QCOMPARE(document.path(), QString(253, 'n'));
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
