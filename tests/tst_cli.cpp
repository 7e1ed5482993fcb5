#include "resbytes.h"

#include <QtTest>

const QByteArray Valid =
        R"({"header": ")" + QByteArray(120, '0') + R"(", "objects": [{"ObjectType": 1,
    "EntryTypeTypeID": 2, "String1": {"hex": "00"}, "String2": {"text": ""}, "Part2": [],
    "String3": {"text": "a", "encoding": "big5"}, "Part1": [{"Type": 4, "Value1": 5, "Value2": 6}]}]})";

// The valid document with `from` replaced by `to`, refused at the JSON path
// (and with the reason given after it).
static void refusal(const char *name, const char *from, const QByteArray &to, const char *path)
{
    const QByteArray fault(path);
    QTest::newRow(name) << QByteArray(Valid).replace(from, to)
                        << (fault.contains(": ") ? fault : fault + ": ");
}

Q_DECLARE_METATYPE(testres::File)

// Weapon 100, Item 101 with two Part1 entries, Pose 102 and VipItem 103.
static testres::File fourObjects()
{
    testres::File file;
    file.objects.resize(4);
    for (int i = 0; i < 4; ++i) {
        file.objects[i].objectType = 1 + i;
        file.objects[i].id = 100 + i;
    }
    file.objects[1].part1 = { { 12, 5, 3 }, { 1, 2, 3 } };
    return file;
}

static testres::Object object(qint32 type, qint32 id)
{
    testres::Object object;
    object.objectType = type;
    object.id = id;
    return object;
}

// Runs drovanel-res in a temporary working directory, as a modder does.
class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    testres::File in;
    QByteArray out, err;

    // Keeps the output and the errors; a crash or a hang gives exit code -1.
    int run(const QStringList &arguments, const QString &program = DROVANEL_RES)
    {
        QProcess process;
        process.start(program, arguments);
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
        // A strict parser takes it, control characters and all.
        QCOMPARE(run({ "-c", "import json; json.load(open('out.json'))" }, "python3"), 0);
        QCOMPARE(run({ "import", "out.json", "out.res" }), 0);
        QCOMPARE(testres::readAll("out.res"), testres::readAll("in.res"));
        for (const QStringList &toStandardOutput : { QStringList(), QStringList("-") }) {
            QCOMPARE(run(QStringList { "export", "in.res" } + toStandardOutput), 0);
            QCOMPARE(out, testres::readAll("out.json"));
        }

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
        for (const QString command : { "export", "textconv" }) {
            QProcess full;
            full.setStandardOutputFile("/dev/full");
            full.start(DROVANEL_RES, { command, "in.res" });
            QVERIFY(full.waitForFinished());
            QCOMPARE(full.exitCode(), 1);
        }

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

    // One line per change, in the order of the new file; an object inserted or
    // removed in the middle changes no other object's lines.
    void diff()
    {
        const testres::File old = fourObjects();
        testres::File changed = old;
        changed.head[0] = 1;
        changed.objects[1].strings[0] = testres::stored("\xbd\xf0\xb1\xd2");
        changed.objects[1].part1[1][2] = 20;
        changed.objects[1].part1.append({ 12, 0, 0 });
        changed.objects.insert(1, object(1, 0));
        changed.objects.remove(3);
        changed.trailing = "x";
        QVERIFY(testres::writeFile("old.res", testres::toBytes(old)));
        QVERIFY(testres::writeFile("new.res", testres::toBytes(changed)));
        QCOMPARE(run({ "diff", "old.res", "new.res" }), 1);
        const QByteArray zeros = QByteArray(51, 0).toHex();
        QCOMPARE(QString::fromUtf8(out).split('\n'),
                QStringList({ "header: OpaqueHead 00" + zeros + " → 01" + zeros,
                        "+ Weapon 0 (objects[1])",
                        R"(Item 101 (objects[1] → [2]): String1 "" → "金币")",
                        "Item 101 (objects[1] → [2]): Part1[1].Value2 3 → 20",
                        "Item 101 (objects[1] → [2]): Part1 1 entry added",
                        "- Pose 102 (objects[2])", "trailing: (none) → 78", "" }));
        QCOMPARE(run({ "diff", "old.res", "old.res" }), 0);
        QCOMPARE(out, QByteArray());
        QCOMPARE(run({ "diff", "old.res", "bad.res" }), 2);
        QVERIFY2(err.startsWith("Cannot read bad.res: object 0 at offset 68: "), err);
        // git's textconv turns a refused file into one line, and does not fail.
        QCOMPARE(run({ "textconv", "bad.res" }), 0);
        QVERIFY2(out.startsWith("drovanel-res: cannot read bad.res: object 0")
                        && out.count('\n') == 1,
                out);
    }

    void merge_data()
    {
        QTest::addColumn<testres::File>("ours");
        QTest::addColumn<testres::File>("theirs");
        QTest::addColumn<testres::File>("merged");
        QTest::addColumn<testres::File>("theirsPreferred");
        const testres::File base = fourObjects();
        testres::File ours = base, theirs = base, merged = base, preferred = base;
        // At a conflict, OUT holds OURS's value, or THEIRS's (`preferred`) when it is
        // preferred.
        const auto row = [&](const char *name, bool conflict = false) {
            QTest::newRow(name) << ours << theirs << merged << (conflict ? preferred : merged);
            ours = theirs = merged = preferred = base;
        };
        ours.objects[0].strings[0] = merged.objects[0].strings[0] = testres::stored("a");
        theirs.objects[1].part1[0][1] = merged.objects[1].part1[0][1] = 7;
        ours.trailing = merged.trailing = "t";
        theirs.head[3] = merged.head[3] = 1;
        row("fields, header and trailing bytes changed on one side each");
        ours.objects[0].strings[2] = theirs.objects[0].strings[2] = testres::stored("b");
        merged.objects[0].strings[2] = testres::stored("b");
        row("the same change on both sides");
        // ours adds Weapon 200 after Item 101; theirs removes Weapon 100 and puts Map
        // 300 first.
        ours.objects.insert(2, object(1, 200));
        theirs.objects[0] = object(5, 300);
        merged.objects[0] = object(5, 300);
        merged.objects.insert(2, object(1, 200));
        row("objects added and removed");
        ours.objects[1].part1.append({ 12, 0, 0 });
        theirs.objects[1].part1[0][2] = 9;
        merged.objects[1].part1 = { { 12, 5, 9 }, { 1, 2, 3 }, { 12, 0, 0 } };
        row("entries appended on one side, changed on the other");
        ours.objects[1].part1[0][1] = merged.objects[1].part1[0][1] = 1;
        theirs.objects[1].part1[1][2] = merged.objects[1].part1[1][2] = 2;
        row("entries changed on both sides, field by field");
        ours.objects.append(object(5, 400));
        theirs.objects.append(object(5, 400));
        merged.objects.append(object(5, 400));
        row("the same object added on both sides");
        ours.objects[0].strings[0] = merged.objects[0].strings[0] = testres::stored("a");
        theirs.objects[0].strings[0] = preferred.objects[0].strings[0] = testres::stored("b");
        row("a field changed differently", true);
        ours.objects.remove(3);
        merged.objects.remove(3);
        theirs.objects[3].strings[1] = preferred.objects[3].strings[1] = testres::stored("m");
        row("removed on one side, changed on the other", true);
        ours.objects[1].part1.append({ 1, 1, 1 });
        merged = ours;
        theirs.objects[1].part1 += { { 2, 2, 2 }, { 3, 3, 3 } };
        preferred = theirs;
        row("different numbers of entries appended", true);
    }

    // Run as git runs a merge driver: OUT is OURS.
    void merge()
    {
        QFETCH(testres::File, ours);
        QFETCH(testres::File, theirs);
        QFETCH(testres::File, merged);
        QFETCH(testres::File, theirsPreferred);
        const bool conflict = testres::toBytes(merged) != testres::toBytes(theirsPreferred);
        QVERIFY(testres::writeFile("base.res", testres::toBytes(fourObjects()))
                && testres::writeFile("ours.res", testres::toBytes(ours))
                && testres::writeFile("theirs.res", testres::toBytes(theirs)));
        QCOMPARE(run({ "merge", "base.res", "ours.res", "theirs.res", "-o", "out.res", "--prefer",
                         "theirs" }),
                0);
        QCOMPARE(testres::readAll("out.res"), testres::toBytes(theirsPreferred));
        QCOMPARE(run({ "merge", "base.res", "ours.res", "theirs.res", "-o", "ours.res" }),
                int(conflict));
        QCOMPARE(err.count("conflict: "), int(conflict));
        QCOMPARE(testres::readAll("ours.res"), testres::toBytes(merged));
    }

    // Two sides that each add an object to a full file merge into more objects
    // than a header counts: OUT is left as it was.
    void mergeBeyondTheHeader()
    {
        testres::File base, ours, theirs;
        base.objects.resize(32766);
        ours = theirs = base;
        ours.objects.append(object(1, 1));
        theirs.objects.append(object(1, 2));
        QVERIFY(testres::writeFile("base.res", testres::toBytes(base))
                && testres::writeFile("ours.res", testres::toBytes(ours))
                && testres::writeFile("theirs.res", testres::toBytes(theirs))
                && testres::writeFile("out.res", "old"));
        QCOMPARE(run({ "merge", "base.res", "ours.res", "theirs.res", "-o", "out.res" }), 2);
        QVERIFY2(err.endsWith("Cannot write out.res: 32768 objects; the header of a RES file "
                              "counts at most 32767.\n"),
                err);
        QCOMPARE(testres::readAll("out.res"), QByteArray("old"));
    }

    // git, set up as the README tells modders: a branch that edits a field and
    // one that adds an object merge cleanly through the driver; git diff shows a
    // field change as one changed line; a real conflict is git's conflict.
    void git()
    {
        const auto git = [this](const QString &command) {
            return run(QStringList { "-C", "repo" } + command.split(' '), "git");
        };
        QVERIFY(QDir().mkdir("repo") && git("init -q -b main") == 0);
        for (const QString setting : { "user.name Modder", "user.email modder@example.org",
                     "diff.res.textconv " DROVANEL_RES " textconv",
                     "merge.res.driver " DROVANEL_RES " merge %O %A %B -o %A" })
            QCOMPARE(run({ "-C", "repo", "config", setting.section(' ', 0, 0),
                                 setting.section(' ', 1) },
                             "git"),
                    0);
        testres::File file = fourObjects();
        // Commits file on the branch that "checkout -q" with `branch` goes to.
        const auto commit = [&](const QString &branch) {
            return (branch.isEmpty() || git("checkout -q " + branch) == 0)
                    && testres::writeFile("repo/item.res", testres::toBytes(file))
                    && git("add item.res") == 0 && git("commit -q -m commit") == 0;
        };
        QVERIFY(testres::writeFile("repo/.gitattributes", "*.res diff=res merge=res\n"));
        QVERIFY(git("add .gitattributes") == 0 && commit(QString()));
        const testres::File base = file;
        file.objects[1].part1[0][2] = 8;
        QVERIFY(commit("-b field"));
        QCOMPARE(git("show --format= field"), 0);
        QCOMPARE(out.count("\n-  ") + out.count("\n+  "), 2);
        QVERIFY2(out.contains("\n-          \"Value2\": 3\n+          \"Value2\": 8\n"), out);
        file = base;
        file.objects.append(object(5, 300));
        QVERIFY(commit("-b object main"));
        QVERIFY2(git("merge -q --no-edit field") == 0, out + err);
        file.objects[1].part1[0][2] = 8;
        QCOMPARE(testres::readAll("repo/item.res"), testres::toBytes(file));

        file = base;
        file.objects[1].part1[0][2] = 9;
        QVERIFY(commit("-b other main"));
        QCOMPARE(git("merge -q --no-edit field"), 1);
        QVERIFY2((out + err).contains("CONFLICT"), out + err);
        QVERIFY2(err.contains(
                         "conflict: Item 101 objects[1].Part1[0].Value2: base 3, ours 9, theirs 8"),
                err);
    }

    void importRefusal_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QByteArray>("fault");
        QTest::newRow("malformed") << Valid + "," << QByteArray("line 3, column");
        refusal("missing field", R"("EntryTypeTypeID": 2,)", "", "objects[0].EntryTypeTypeID");
        refusal("extra field", R"("Part2": [])", R"("Part2": [], "X": 0)", "objects[0].X");
        refusal("wrong type", R"(: 1,)", R"(: "1",)", "objects[0].ObjectType");
        refusal("outside int32", R"(: 6)", R"(: 3000000000)",
                "objects[0].Part1[0].Value2: 3000000000 is outside the int32 range.");
        refusal("header of 122 digits", R"("header": ")", R"("header": "00)", "header");
        refusal("bad hex", R"("00")", R"("0g")", "objects[0].String1.hex");
        refusal("254 bytes", R"("a", "encoding": "big5")",
                '"' + QString(127, QChar(0x4f60)).toUtf8() + '"', "objects[0].String3.text");
        refusal("not in Big5", R"("a")", R"("x们")",
                R"(objects[0].String3.text: big5 cannot represent "们" (U+4EEC); a text )"
                R"(without "encoding" is stored as GB18030.)");
        refusal("unknown encoding", R"("big5")", R"("latin1")", "objects[0].String3.encoding");
        refusal("a fraction", R"(: 6)", R"(: 6.5)", "objects[0].Part1[0].Value2");
        refusal("odd hex", R"("00")", R"("000")", "objects[0].String1.hex");
        refusal("255 bytes of hex", R"("00")", '"' + QByteArray(510, '0') + '"',
                "objects[0].String1.hex");
        refusal("hex without its zero byte", R"("00")", R"("41")", "objects[0].String1.hex");
        refusal("a zero character", R"("text": "")", R"("text": "a\u0000b")",
                "objects[0].String2.text");
        refusal("a field given twice", R"("Part2": [])", R"("Part2": [], "Part2": [])",
                "objects[0].Part2");
        QTest::newRow("a zero byte after the JSON") << Valid + '\0' + "," << QByteArray("line 3");
        // The most objects that a RES file holds are taken.
        const QByteArray object = Valid.mid(Valid.indexOf("{\"ObjectType")).chopped(2);
        const auto objects = [&object](int count) {
            return QByteArray(Valid).replace(
                    object + "]}", object + ("," + object).repeated(count - 1) + "]}");
        };
        QTest::newRow("32768 objects") << objects(32768) << QByteArray("objects: ");
        QTest::newRow("32767 objects") << objects(32767) << QByteArray();
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
