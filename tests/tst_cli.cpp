#include "resbytes.h"

#include <QtTest>

const QByteArray Valid =
        R"({"header": ")" + QByteArray(120, '0') + R"(", "objects": [{"ObjectType": 1,
    "EntryTypeTypeID": 2, "String1": {"hex": "00"}, "String2": {"text": ""}, "Part2": [],
    "String3": {"text": "a", "encoding": "big5"}, "Part1": [{"Type": 4, "Value1": 5, "Value2": 6}]}]})";

// The valid document with `from` replaced by `to`, refused at the JSON path.
static void refusal(const char *name, const char *from, const QByteArray &to, const char *path)
{
    QTest::newRow(name) << QByteArray(Valid).replace(from, to) << QByteArray(path) + ": ";
}

// Runs drovanel-res in a temporary working directory, as a modder does.
class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    testres::File in;
    QByteArray out, err;

    // Keeps the output and the errors; a crash or a hang gives exit code -1.
    int run(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(DROVANEL_RES), arguments);
        const bool ok = process.waitForFinished() && process.exitStatus() == QProcess::NormalExit;
        out = process.readAllStandardOutput();
        err = process.readAllStandardError();
        return ok ? process.exitCode() : -1;
    }

private slots:
    // Big5 "閱讀" (a backslash as trail byte), UTF-8 "中" (a model name), GB18030
    // "金币x100"; then strings that are not text: bytes behind the zero byte, and a
    // byte no encoding decodes alone.
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(dir.path()));
        in.head.fill('\x5a');
        in.objects.resize(2);
        in.objects[0].strings = { testres::stored("\xbe\x5c\xc5\xaa"),
            testres::stored("\xe4\xb8\xad"), testres::stored("\xbd\xf0\xb1\xd2x100") };
        in.objects[0].part1 = { { 12, 5, -7 }, { 1, -2147483647 - 1, 2147483647 } };
        in.objects[1].strings = { QByteArray("a\0b", 3), QByteArray("\x80", 2),
            testres::stored("\x1f" + QByteArray(252, 'z')) };
        in.objects[1].part2 = { { 1, 2, 3, 4, 5, 6, 7, 8, 9, -10 } };
        QVERIFY(testres::writeFile("in.res", testres::toBytes(in) + "trailing"));
        // String1's length 255, after the header and the first object's type and identifier.
        QVERIFY(testres::writeFile("bad.res", testres::toBytes(in).replace(68, 1, "\xff")));
    }

    void commands()
    {
        QCOMPARE(run({ "check", "in.res", "bad.res" }), 1);
        QVERIFY2(out.startsWith("in.res: ok, 2 objects\nbad.res: object 0 at offset 68: "), out);
        QCOMPARE(run({ "--all", "check", "in.res" }), 2);
        QCOMPARE(run({ "check", "in.res" }), 0);
        QCOMPARE(run({ "export", "in.res", "out.json" }), 0);
        QCOMPARE(run({ "import", "out.json", "out.res" }), 0);
        QCOMPARE(testres::readAll("out.res"), testres::readAll("in.res"));
        QCOMPARE(run({ "export", "in.res" }), 0);
        QCOMPARE(out, testres::readAll("out.json"));

        QJsonObject root = QJsonDocument::fromJson(out).object();
        QJsonArray strings;
        for (const QJsonValue object : root["objects"].toArray())
            strings << object["String1"] << object["String2"] << object["String3"];
        QCOMPARE(QJsonDocument(strings).toJson(QJsonDocument::Compact),
                R"([{"encoding":"big5","text":"閱讀"},{"encoding":"utf-8","text":"中"},)"
                R"({"encoding":"gb18030","text":"金币x100"},{"hex":"610062"},{"hex":"8000"},)"
                R"({"encoding":"gb18030","text":"\u001f)"
                        + QByteArray(252, 'z') + R"("}])");

        // A write that fails is not a success.
        QProcess full;
        full.setStandardOutputFile("/dev/full");
        full.start(DROVANEL_RES, { "export", "in.res" });
        QVERIFY(full.waitForFinished());
        QCOMPARE(full.exitCode(), 1);

        // A modder's edit: Chinese text without an encoding, a removed entry and a
        // removed object.
        QJsonObject first = root["objects"].toArray().first().toObject();
        first["String1"] = QJsonObject { { "text", "你好" } };
        first["Part1"] = QJsonArray { first["Part1"].toArray().first() };
        root["objects"] = QJsonArray { first };
        QVERIFY(testres::writeFile("edited.json", QJsonDocument(root).toJson()));
        QCOMPARE(run({ "import", "edited.json", "edited.res" }), 0);
        testres::File edited = in;
        edited.objects = { in.objects[0] };
        edited.objects[0].strings[0] = QByteArray::fromHex("c4e3bac300");
        edited.objects[0].part1.removeLast();
        QCOMPARE(testres::readAll("edited.res"), testres::toBytes(edited) + "trailing");
    }

    void importRefusal_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QByteArray>("fault");
        QTest::newRow("malformed") << Valid + "," << QByteArray("line 3, column");
        refusal("missing field", R"("EntryTypeTypeID": 2,)", "", "objects[0].EntryTypeTypeID");
        refusal("extra field", R"("Part2": [])", R"("Part2": [], "X": 0)", "objects[0].X");
        refusal("wrong type", R"(: 1,)", R"(: "1",)", "objects[0].ObjectType");
        refusal("outside int32", R"(: 6)", R"(: 2147483648)", "objects[0].Part1[0].Value2");
        refusal("header of 122 digits", R"("header": ")", R"("header": "00)", "header");
        refusal("bad hex", R"("00")", R"("0g")", "objects[0].String1.hex");
        refusal("254 bytes", R"("a", "encoding": "big5")",
                '"' + QString(127, QChar(0x4f60)).toUtf8() + '"', "objects[0].String3.text");
        refusal("not in Big5", R"("a")", R"("你😀")", "objects[0].String3.text");
        refusal("unknown encoding", R"("big5")", R"("latin1")", "objects[0].String3.encoding");
        refusal("32768 objects", "6}]}", "6}]}" + QByteArray(",{}").repeated(32767), "objects");
        refusal("a fraction", R"(: 6)", R"(: 6.5)", "objects[0].Part1[0].Value2");
        refusal("odd hex", R"("00")", R"("000")", "objects[0].String1.hex");
        refusal("255 bytes of hex", R"("00")", '"' + QByteArray(510, '0') + '"',
                "objects[0].String1.hex");
        refusal("hex without its zero byte", R"("00")", R"("41")", "objects[0].String1.hex");
        // The most objects that a RES file holds are taken.
        const QByteArray object = Valid.mid(Valid.indexOf("{\"ObjectType"));
        QTest::newRow("32767 objects") << QByteArray(Valid).replace(
                object, object.chopped(2) + ("," + object.chopped(2)).repeated(32766) + "]}")
                                       << QByteArray();
    }

    // The fault is named with its JSON path, and OUT.res is left as it was.
    void importRefusal()
    {
        QFETCH(QByteArray, json);
        QFETCH(QByteArray, fault);
        QVERIFY(testres::writeFile("mod.json", json) && testres::writeFile("old.res", "old"));
        const bool taken = fault.isNull();
        QCOMPARE(run({ "import", "mod.json", "old.res" }), int(!taken));
        QVERIFY2(err.startsWith(taken ? "" : "Cannot import mod.json: " + fault), err);
        QCOMPARE(testres::readAll("old.res") == "old", !taken);
        // What is taken, the editor opens.
        QCOMPARE(run({ "check", "old.res" }), int(!taken));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
