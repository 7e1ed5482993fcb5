#include "recordtext.h"
#include "resbytes.h"
#include "resdocument.h"

#include <QBuffer>
#include <QtEndian>
#include <QtTest>

#include <climits>
#include <cstring>

namespace {

QByteArray hex(const char *digits)
{
    return QByteArray::fromHex(digits);
}

// The GB18030 encoding of U+1F600, one of the four-byte characters.
const QByteArray FourByteCharacter = hex("9439fc36");
const QString FourByteText = QString::fromUcs4(U"\U0001F600");

// The record in the tests' own model, so that it can be compared through the
// tests' writer rather than the program's.
testres::Object fromRecord(const ResObject &record)
{
    testres::Object object;
    object.objectType = record.ObjectType;
    object.id = record.EntryTypeTypeID;
    const ResString *strings[] = { &record.String1, &record.String2, &record.String3 };
    for (int i = 0; i < 3; ++i)
        object.strings[i] = QByteArray(strings[i]->Text, strings[i]->Length);
    for (const Part1SubObject &entry : record.Part1)
        object.part1.append({ entry.Type, entry.Value1, entry.Value2 });
    for (const Part2SubObject &entry : record.Part2) {
        testres::Entry2 copy;
        std::memcpy(copy.data(), &entry, sizeof entry);
        object.part2.append(copy);
    }
    return object;
}

QByteArray written(ResDocument &document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return document.write(buffer) ? buffer.data() : QByteArray();
}

QByteArray patched(QByteArray bytes, int offset, qint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
    return bytes;
}

testres::Object object(qint32 type, const QByteArray &s1, const QByteArray &s2,
        const QByteArray &s3, int part1Count, int part2Count)
{
    testres::Object object;
    object.objectType = type;
    object.id = type * 100;
    object.strings = { testres::stored(s1), testres::stored(s2), testres::stored(s3) };
    for (int i = 0; i < part1Count; ++i)
        object.part1.append({ i, -i, 1000 + i });
    for (int i = 0; i < part2Count; ++i)
        object.part2.append({ i, 1, 2, 3, 4, 5, 6, 7, 8, -i });
    return object;
}

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void workedExample();
    void roundTrip_data();
    void roundTrip();
    void damagedFileIsRefused_data();
    void damagedFileIsRefused();
    void setFileName_data();
    void setFileName();
    void big5Score_data();
    void big5Score();
    void decodeText_data();
    void decodeText();
    void storeRecordText_data();
    void storeRecordText();
};

void TestDocument::workedExample()
{
    const QByteArray block = hex("01 00 00 00 64 00 00 00 02 00 00 00 41 00 01 00 00 00 00 01 00"
                                 "00 00 00 01 00 00 00 0c 00 00 00 05 00 00 00 ff ff ff ff 00 00"
                                 "00 00");
    const QByteArray file = QByteArray(52, '\0') + hex("0100") + QByteArray(6, '\0') + block;
    QCOMPARE(block.size(), 44);

    QTemporaryDir dir;
    ResDocument saved;
    ResObject record;
    record.ObjectType = 1;
    record.EntryTypeTypeID = 100;
    record.String1 = { 2, "A" };
    record.String2 = { 1, "" };
    record.String3 = { 1, "" };
    record.Part1Count = 1;
    record.Part1 = { { 12, 5, -1 } };
    saved.contents.header.ObjectCount = 1;
    saved.contents.objects = { record };
    QVERIFY(saved.setFileName(dir.filePath("saved.res")));
    QVERIFY(saved.save());
    QCOMPARE(testres::readAll(dir.filePath("saved.res")), file);

    QVERIFY(testres::writeFile(dir.filePath("read.res"), file));
    ResDocument loaded;
    QVERIFY(loaded.setFileName(dir.filePath("read.res")));
    QVERIFY2(loaded.load(), qPrintable(loaded.errorString()));
    QCOMPARE(loaded.contents.objects.size(), 1);
    QCOMPARE(testres::objectBytes(fromRecord(loaded.contents.objects.at(0))), block);
    QCOMPARE(loaded.contents.objects.at(0).Part1Count, 1);
}

void TestDocument::roundTrip_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("objectCount");
    QTest::addColumn<QByteArray>("trailing");

    QTest::newRow("no objects, exactly 60 bytes") << 1u << 0 << QByteArray();
    QTest::newRow("no objects, bytes after the header") << 2u << 0 << QByteArray("tail");
    for (quint32 seed = 3; seed <= 14; ++seed) {
        const QByteArray trailing = seed % 3 ? QByteArray() : QByteArray(int(seed), '\xee');
        QTest::addRow("seed %u%s", seed, trailing.isEmpty() ? "" : ", bytes after the last block")
                << seed << int(1 + seed * 7 % 40) << trailing;
    }
}

void TestDocument::roundTrip()
{
    QFETCH(quint32, seed);
    QFETCH(int, objectCount);
    QFETCH(QByteArray, trailing);
    const testres::File model = testres::generateFile(seed, objectCount);
    const QByteArray bytes = testres::toBytes(model);
    QTemporaryDir dir;
    const QString path = dir.filePath("round.res");
    QVERIFY(testres::writeFile(path, bytes + trailing));

    ResDocument document;
    QVERIFY(document.setFileName(path));
    QVERIFY2(document.load(), qPrintable(document.errorString()));
    QCOMPARE(document.contents.objects.size(), objectCount);
    for (int i = 0; i < objectCount; ++i) {
        const ResObject &record = document.contents.objects.at(i);
        QCOMPARE(testres::objectBytes(fromRecord(record)),
                testres::objectBytes(model.objects.at(i)));
        QCOMPARE(record.Part1Count, record.Part1.size());
        QCOMPARE(record.Part2Count, record.Part2.size());
    }
    QVERIFY2(document.save(), qPrintable(document.errorString()));
    QCOMPARE(testres::readAll(path), bytes + trailing);
}

void TestDocument::damagedFileIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("fragments");

    testres::File file;
    file.objects = { object(1, "Sword", "m_sword", "x", 3, 1), object(3, "BC", "DEF", "", 2, 1),
        object(5, "GHIJ", "", "", 1, 2) };
    const QByteArray good = testres::toBytes(file);
    // Offsets of the fields of objects 1 and 2.
    const int start1 = 60 + testres::objectBytes(file.objects[0]).size();
    const int string2At = start1 + 8 + 4 + 3;
    const int string3At = string2At + 4 + 4;
    const int part1At = string3At + 4 + 1;
    const int part2At = part1At + 4 + 2 * 12;
    const int start2 = start1 + testres::objectBytes(file.objects[1]).size();
    const int lastPart1At = start2 + 8 + 4 + 5 + 4 + 1 + 4 + 1;
    const int lastPart2At = lastPart1At + 4 + 12;
    auto damaged = [file](int string, const QByteArray &bytes) {
        testres::File copy = file;
        copy.objects[1].strings[string] = bytes;
        return testres::toBytes(copy);
    };
    auto at = [](int index, int offset, QStringList fragments) {
        return fragments << QStringLiteral("object %1 ").arg(index)
                         << QStringLiteral("offset %1:").arg(offset);
    };

    // A null array stands for a file that does not exist.
    QTest::newRow("missing file") << QByteArray() << QStringList();
    QTest::newRow("empty file") << QByteArray("") << QStringList { " 0 bytes", "60 bytes" };
    QTest::newRow("shorter than the header") << good.left(59) << QStringList { "59 bytes" };
    QTest::newRow("negative ObjectCount")
            << patched(good, 52, 0xffff) << QStringList { "offset 52:", "ObjectCount -1 " };
    QTest::newRow("ObjectCount beyond the file")
            << patched(good, 52, 32767) << QStringList { "offset 52:", "ObjectCount 32767 " };
    QTest::newRow("one block missing") << patched(good, 52, 4) << at(3, good.size(), { "ends" });
    QTest::newRow("String1 length 0")
            << damaged(0, "") << at(1, start1 + 8, { "String1 length 0 ", "1 to 254" });
    QTest::newRow("String2 length 255")
            << damaged(1, QByteArray(255, '\0')) << at(1, string2At, { "String2 length 255 " });
    QTest::newRow("String3 length -1")
            << patched(good, string3At, -1) << at(1, string3At, { "String3 length -1 " });
    QTest::newRow("String3 length two billion")
            << patched(good, string3At, 2000000000) << at(1, string3At, { "2000000000" });
    QTest::newRow("String1 without a zero byte")
            << damaged(0, "ABC") << at(1, start1 + 8, { "String1", "zero byte" });
    QTest::newRow("negative Part1Count")
            << patched(good, part1At, -1) << at(1, part1At, { "Part1Count -1 " });
    QTest::newRow("negative Part2Count")
            << patched(good, part2At, INT_MIN) << at(1, part2At, { "Part2Count -2147483648 " });
    // The count is checked against the bytes left before anything is allocated for it.
    QTest::newRow("two billion Part1 entries in 20 bytes")
            << patched(good, lastPart1At, 2000000000).left(lastPart1At + 4 + 20)
            << at(2, lastPart1At, { "Part1Count 2000000000 ", "24000000000", " 20 " });
    QTest::newRow("Part2 entries beyond the file")
            << patched(good, lastPart2At, 1000) << at(2, lastPart2At, { "40000" });
    QTest::newRow("file ends inside a Part2 table")
            << good.left(good.size() - 1) << at(2, lastPart2At, { "Part2Count 2 " });
    QTest::newRow("file ends inside a string")
            << good.left(start2 + 14) << at(2, start2 + 12, { "String1" });
    QTest::newRow("file ends inside ObjectType")
            << good.left(start2 + 3) << at(2, start2, { "ObjectType" });
}

void TestDocument::damagedFileIsRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, fragments);
    QTemporaryDir dir;
    const QByteArray good = testres::toBytes(testres::generateFile(70, 5));
    QVERIFY(testres::writeFile(dir.filePath("good.res"), good));
    const QString path = dir.filePath("damaged.res");
    if (!bytes.isNull())
        QVERIFY(testres::writeFile(path, bytes));

    ResDocument document;
    QVERIFY(document.setFileName(dir.filePath("good.res")) && document.load());
    QVERIFY(document.setFileName(path));
    QVERIFY(!document.load());
    const QString checked = document.errorString();
    QVERIFY(!checked.isEmpty());
    for (const QString &fragment : fragments)
        QVERIFY2(checked.contains(fragment), qPrintable(checked + " lacks " + fragment));
    QCOMPARE(written(document), good);
}

void TestDocument::setFileName_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("253 units") << 253 << true;
    QTest::newRow("254 units") << 254 << false;
}

void TestDocument::setFileName()
{
    QFETCH(int, length);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    const QString old = dir.filePath("old.res");
    QString path = dir.filePath("n");
    path += QString(length - path.size() - 4, QLatin1Char('n')) + QStringLiteral(".res");
    QCOMPARE(path.size(), length);

    ResDocument document;
    QVERIFY(document.setFileName(old));
    QCOMPARE(document.setFileName(path), accepted);
    QCOMPARE(document.path(), accepted ? path : old);
    QCOMPARE(document.errorString().isEmpty(), accepted);
    if (accepted) {
        // The whole path reaches the file system, up to its last unit.
        QVERIFY(testres::writeFile(path, testres::toBytes(testres::File())));
        QVERIFY2(document.load(), qPrintable(document.errorString()));
    }
    QVERIFY(!document.setFileName(dir.filePath(QStringLiteral("a") + QChar(0) + "b.res")));
    QCOMPARE(document.path(), accepted ? path : old);
}

void TestDocument::big5Score_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("score");
    QTest::newRow("ASCII") << hex("414243") << 0;
    QTest::newRow("Big5 pair with a low trail") << hex("a440") << 1;
    QTest::newRow("GB pair") << hex("c4e3bac3") << -1;
    QTest::newRow("tie") << hex("a4a1c4e3") << 0;
    QTest::newRow("overlapping pairs") << hex("c4c4c4") << -2;
    QTest::newRow("two low trails") << hex("ab41ab41") << 2;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("one high byte") << hex("a4") << 0;
    QTest::newRow("high byte at the end") << hex("41c4") << 0;
    QTest::newRow("only bytes before the zero") << hex("a44000c4e3c4e3") << 1;
    QTest::newRow("zero first") << hex("00a440") << 0;
    QTest::newRow("ends of the Big5 ranges") << hex("a17e fe40 a9fe aaa1 affe") << 5;
    QTest::newRow("ends of the GB range") << hex("c4a1 d7fe") << -2;
    QTest::newRow("just outside every range")
            << hex("a040 ff40 a43f a47f a0 a4ff a3a1 c3a1 d8a1") << 0;
}

void TestDocument::big5Score()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, score);
    QCOMPARE(::big5Score(bytes), score);
}

void TestDocument::decodeText_data()
{
    QTest::addColumn<bool>("modelName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString zhongwen = QStringLiteral("\u4e2d\u6587");
    QTest::newRow("ASCII") << false << QByteArray("Drovanel 7") << QStringLiteral("Drovanel 7");
    QTest::newRow("GB18030") << false << hex("d6d0cec4") << zhongwen;
    QTest::newRow("Big5") << false << hex("a4a4a4e5") << zhongwen;
    QTest::newRow("Big5 low trail") << false << hex("a440") << QStringLiteral("\u4e00");
    QTest::newRow("tie is GB18030") << false << hex("a4a1c4e3") << QStringLiteral("\u3041\u4f60");
    QTest::newRow("bytes behind the zero")
            << false << hex("d6d000a4a4a4e5a4a4") << QStringLiteral("\u4e2d");
    QTest::newRow("empty") << false << QByteArray() << QString();
    QTest::newRow("model name in ASCII") << true << QByteArray("m_sword01") << "m_sword01";
    QTest::newRow("model name in UTF-8") << true << hex("e4b8ade69687") << zhongwen;
    QTest::newRow("model name in GB18030") << true << hex("d6d0cec4") << zhongwen;
    QTest::newRow("model name in Big5") << true << hex("a4a4a4e5") << zhongwen;
    QTest::newRow("model name with bytes behind the zero")
            << true << QByteArray("abc\0\xd6\xd0", 6) << QStringLiteral("abc");
}

void TestDocument::decodeText()
{
    QFETCH(bool, modelName);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(modelName ? decodeModelNameText(bytes) : decodeRecordText(bytes), text);
    ResString string = { bytes.size() + 1, {} };
    std::memcpy(string.Text, bytes.constData(), bytes.size());
    QCOMPARE(recordTextBytes(string), QByteArray(bytes.constData()));
}

void TestDocument::storeRecordText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("kept");

    const QString chinese = QStringLiteral("\u4e2d");
    QTest::newRow("empty text stores nothing")
            << QString() << QByteArray("ABCDEFGH\0", 9) << 9 << 0;
    QTest::newRow("shorter text keeps the bytes behind")
            << chinese << hex("d6d000") + QByteArray("DEFGH\0", 6) << 3 << 1;
    QTest::newRow("253 bytes") << QString(253, QLatin1Char('a')) << QByteArray(253, 'a') + '\0'
                               << 254 << 253;
    QTest::newRow("254 ASCII characters")
            << QString(254, QLatin1Char('b')) << QByteArray(253, 'b') + '\0' << 254 << 253;
    QTest::newRow("127 two-byte characters")
            << chinese.repeated(127) << hex("d6d0").repeated(126) + '\0' << 253 << 126;
    QTest::newRow("four-byte characters filling 253 bytes")
            << "a" + FourByteText.repeated(64) << "a" + FourByteCharacter.repeated(63) + '\0' << 254
            << 127;
    QTest::newRow("four-byte character that does not fit")
            << "ab" + FourByteText.repeated(64) << "ab" + FourByteCharacter.repeated(62) + '\0'
            << 251 << 126;
}

void TestDocument::storeRecordText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QFETCH(int, length);
    QFETCH(int, kept);
    // Every byte behind the expected ones, the guard included, must keep its fill: the
    // old bytes are not zeroed and nothing is written beyond Text.
    struct
    {
        ResString string;
        char guard[16];
    } slot;
    std::memset(&slot, 0x5a, sizeof slot);
    const QByteArray before("ABCDEFGH\0", 9);
    slot.string.Length = before.size();
    std::memcpy(slot.string.Text, before.constData(), before.size());

    QCOMPARE(::storeRecordText(slot.string, text), kept);
    QCOMPARE(slot.string.Length, length);
    QCOMPARE(QByteArray(slot.string.Text, expected.size()), expected);
    const char *rest = slot.string.Text + expected.size();
    const int restSize = int(reinterpret_cast<const char *>(&slot + 1) - rest);
    QCOMPARE(QByteArray(rest, restSize), QByteArray(restSize, 0x5a));
}

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
