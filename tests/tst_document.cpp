// Loading and saving RES files byte for byte, and a damaged file that leaves the
// document as it was. What the editor says of a damaged file is checked where a
// modder meets it: drovanel-res check and the window's Open.

#include "resbytes.h"
#include "resdocument.h"

#include <QtTest>

class TestDocument : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // The one object that the format describes byte by byte.
        testres::File example;
        example.objectCount = 1;
        QTest::newRow("the worked example") << testres::toBytes(example)
                        + QByteArray::fromHex("01000000 64000000 02000000 4100 01000000 00"
                                              "01000000 00 01000000 0c000000 05000000"
                                              "ffffffff 00000000");
        QTest::newRow("every kind of object and string") << testres::toBytes(testres::allKinds());
    }

    // Unknown object types, Big5 text, bytes behind a string's zero byte and after
    // the last object all come back as they were.
    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        const QString path = dir.filePath("round.res");
        QVERIFY(testres::writeFile(path, bytes));
        ResDocument document;
        QVERIFY2(document.setFileName(path) && document.load(), qPrintable(document.errorString()));
        QVERIFY(testres::writeFile(path, QByteArray()));
        QVERIFY2(document.save(), qPrintable(document.errorString()));
        QCOMPARE(testres::readAll(path), bytes);
    }

    // A damaged file (another header, and an end inside its last object) leaves
    // the document as it was, and the next save writes it. A save that fails is
    // seen where a modder meets it: drovanel-res on a full disk, and the window.
    void damagedFileKeepsTheDocument()
    {
        const QString path = dir.filePath("kept.res"), damaged = dir.filePath("damaged.res");
        testres::File file = testres::allKinds();
        const QByteArray bytes = testres::toBytes(file);
        QVERIFY(testres::writeFile(path, bytes)
                && testres::writeFile(damaged, 'X' + bytes.mid(1, bytes.size() - 6)));
        ResDocument document;
        QVERIFY(document.setFileName(path) && document.load());
        ++document.contents.objects[0].EntryTypeTypeID;
        QVERIFY(document.setFileName(damaged) && !document.load() && document.setFileName(path));
        QVERIFY(document.save());
        ++file.objects[0].id;
        QCOMPARE(testres::readAll(path), testres::toBytes(file));
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
