// Both programs as a modder starts them from a terminal, in a folder of sample
// files that the test writes from the byte layout: every command of drovanel-res
// and every case that its help and the README tell of, and the editor started
// with a file. What they print and their exit status are compared with golden
// files, and each RES file they write with the bytes of the test's own writer.

#include "golden.h"
#include "resbytes.h"

#include <QtTest>

namespace {

using testres::File;
using testres::Object;
using testres::stored;
using testres::texts;

// Objects at 60, 94 and 149; the file ends at 260. Object 1 has two Part1
// entries, object 2 two Part2 entries.
File three()
{
    File file;
    file.objects = { { 1, 1, texts("a", "b", "c") },
        { 2, 2, texts({}), { { 12, 0, 0 }, { 1, 1, 1 } } }, { 3, 3, texts({}), {}, { {}, {} } } };
    return file;
}

// Weapon 100, Item 101 with entries in both tables, Pose 102, VipItem 103 with
// the model name "m", Map 104 with a Part2 entry, a second Weapon 100 and an
// object of unknown type 9 with one Part1 entry.
File base()
{
    File file;
    file.objects = { { 1, 100 },
        { 2, 101, texts({}), { { 12, 5, 3 }, { 1, 2, 3 } }, { { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 } } },
        { 3, 102 }, { 4, 103, texts("", "m") }, { 5, 104, texts({}), {}, { {} } }, { 1, 100 },
        { 9, 7, texts({}), { { 1, 1, 1 } } } };
    return file;
}

// A text without an encoding ("铁剑", stored as GB18030), UTF-8 and Big5 texts,
// hex, the ends of int32, 1e2, -0, fields out of order, and a header whose
// count (9) gives way to the number of objects.
const QByteArray Header = QByteArray(104, '1') + "0900" + QByteArray(12, '2');
const QByteArray Typed = R"({"objects": [{"EntryTypeTypeID": -2147483648, "ObjectType": 1,
  "String1": {"text": "铁剑"}, "String2": {"encoding": "utf-8", "text": "模型"},
  "String3": {"text": "劍", "encoding": "big5"}, "Part2": [],
  "Part1": [{"Type": 12, "Value1": 1e2, "Value2": 2147483647}]},
 {"ObjectType": 9, "EntryTypeTypeID": 7, "String1": {"hex": "610062"}, "String2": {"text": ""},
  "String3": {"text": "x", "encoding": "gb18030"}, "Part1": [],
  "Part2": [{"unknown2": 1, "unknown3": 2, "effectType": 3, "cycle": 4, "actionType": 5,
   "unknonw6": 6, "typeValue": 7, "unknown8": 8, "unknown9": 9, "unknown10": -0}]}],
 "trailing": "6b657074", "header": ")"
        + Header + "\"}";

File typed()
{
    File file;
    file.head = QByteArray(52, '\x11');
    file.tail = QByteArray(6, '\x22');
    file.objects = {
        { 1, -2147483647 - 1, texts("\xcc\xfa\xbd\xa3", "\xe6\xa8\xa1\xe5\x9e\x8b", "\xbc\x43"),
                { { 12, 100, 2147483647 } } },
        { 9, 7, { QByteArray("a\0b", 3), stored(""), stored("x") }, {},
                { { 1, 2, 3, 4, 5, 6, 7, 8, 9, 0 } } },
    };
    file.trailing = "kept";
    return file;
}

// The valid JSON with its first `from` replaced by `to`.
QByteArray edited(const char *from, const QByteArray &to)
{
    QByteArray json = Typed;
    return json.replace(json.indexOf(from), int(qstrlen(from)), to);
}

// A JSON of that many minimal objects.
QByteArray manyObjects(int count)
{
    const QByteArray object = R"({"ObjectType": 1, "EntryTypeTypeID": 1, "String1": {"hex": "00"},
        "String2": {"hex": "00"}, "String3": {"hex": "00"}, "Part1": [], "Part2": []})";
    return R"({"header": ")" + QByteArray(120, '0') + R"(", "objects": [)" + object
            + ("," + object).repeated(count - 1) + "]}";
}

// Each JSON that import refuses, or takes at a limit, by its name.
QVector<QPair<QByteArray, QByteArray>> importedJson()
{
    return {
        { "malformed", Typed + "," },
        { "not-an-object", "[]" },
        { "missing-field", edited(R"("EntryTypeTypeID": -2147483648, )", "") },
        { "missing-header", edited(R"(, "header": ")" + Header + '"', "") },
        { "unknown-field", edited(R"("Part2": [],)", R"("Part2": [], "Part3": [],)") },
        { "long-key",
                edited(R"("Part2": [],)", R"("Part2": [], ")" + QByteArray(99, 'k') + R"(": 0,)") },
        { "field-twice", edited(R"("Part2": [],)", R"("Part2": [], "Part2": [],)") },
        { "string-for-integer", edited(R"("ObjectType": 1,)", R"("ObjectType": "1",)") },
        { "null", edited("1e2", "null") },
        { "true", edited("1e2", "true") },
        { "fraction", edited("1e2", "6.5") },
        { "above-int32", edited("2147483647", "2147483648") },
        { "below-int32", edited("-2147483648", "-2147483649") },
        { "largest-uint64", edited("1e2", "18446744073709551615") },
        { "beyond-uint64", edited("1e2", "18446744073709551616") },
        { "header-of-122-digits", edited(R"("header": ")", R"("header": "00)") },
        { "header-not-hex", edited(R"("header": ")", R"("header": "g)") },
        { "odd-trailing", edited("6b657074", "6b65707") },
        { "object-for-array", edited(R"("Part1": [])", R"("Part1": {})") },
        { "number-for-entry", edited(R"("Part2": [{)", R"("Part2": [5, {)") },
        { "hex-and-text", edited(R"("610062")", R"("610062", "text": "a")") },
        { "hex-and-encoding", edited(R"({"hex")", R"({"encoding": "big5", "hex")") },
        { "no-text", edited(R"({"text": ""})", "{}") },
        { "unknown-encoding", edited("utf-8", "latin1") },
        { "zero-character", edited(R"("text": "")", R"("text": "a\u0000b")") },
        { "not-in-big5", edited("劍", "们") },
        { "text-of-254-bytes", edited("铁剑", QString(127, QChar(0x4f60)).toUtf8()) },
        { "text-of-253-bytes", edited("铁剑", QString(126, QChar(0x4f60)).toUtf8() + 'a') },
        { "hex-of-no-bytes", edited("610062", "") },
        { "hex-of-255-bytes", edited("610062", QByteArray(510, '0')) },
        { "hex-of-254-bytes", edited("610062", QByteArray(508, '0')) },
        { "hex-without-zero-byte", edited("610062", "6162") },
        { "odd-hex", edited("610062", "61006") },
        { "zero-byte-after-the-json", Typed + '\0' + "," },
        { "not-utf-8", edited("铁剑", "\xff") },
        // As Notepad saves it: UTF-8 with a byte order mark, or UTF-16.
        { "byte-order-mark", "\xef\xbb\xbf" + Typed },
        { "utf-16",
                QByteArray("\xff\xfe")
                        + QByteArray(
                                reinterpret_cast<const char *>(QString::fromUtf8(Typed).utf16()),
                                2 * QString::fromUtf8(Typed).size()) },
        { "32768-objects", manyObjects(32768) },
        { "32767-objects", manyObjects(32767) },
    };
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    // Each RES file that a command should write, by name, and those that differ.
    QMap<QString, File> expected;
    QStringList faults;
    QByteArray lastOutput;

    void write(const QString &name, const QByteArray &bytes)
    {
        QVERIFY(testres::writeFile(name, bytes));
    }

    // Runs a command line as a shell would, in the sample folder: "cd DIR &&"
    // runs it in DIR, NAME=VALUE sets the environment, "*.res" stands for the
    // folder's RES files, and ">FILE" takes standard output. Returns what a
    // person reads: the output, the errors, the files written and the exit status.
    QByteArray run(const QString &line)
    {
        QStringList words = line.split(' ');
        QProcess process;
        if (words.first() == "cd") {
            process.setWorkingDirectory(words.at(1));
            words = words.mid(3);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : { "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG" })
            environment.remove(name);
        environment.insert("LANG", "C.UTF-8");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        // Else Qt warns that it is not set, where it is not.
        environment.insert("XDG_RUNTIME_DIR", dir.filePath("runtime"));
        environment.insert("QT_PLUGIN_PATH", DROVANEL_OBSERVER_PLUGINS);
        environment.insert("QT_QPA_GENERIC_PLUGINS", "drovanelobserver");
        for (; words.first().contains('='); words.removeFirst())
            environment.insert(words.first().section('=', 0, 0), words.first().section('=', 1));
        process.setProcessEnvironment(environment);
        const QString program = words.takeFirst();
        const int glob = words.indexOf("*.res");
        if (glob >= 0) {
            words = words.mid(0, glob) + QDir().entryList({ "*.res" }, QDir::Files, QDir::Name)
                    + words.mid(glob + 1);
        }
        if (!words.isEmpty() && words.last().startsWith('>'))
            process.setStandardOutputFile(words.takeLast().mid(1));
        QMap<QString, QByteArray> before;
        for (const QString &word : qAsConst(words))
            before[word] = testres::readAll(word);

        process.start(program == "drovanel-res" ? DROVANEL_RES
                        : program == "drovanel"
                        ? DROVANEL_EXECUTABLE
                        : QDir(process.workingDirectory()).absoluteFilePath(program),
                words);
        const bool ended =
                process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
        QByteArray transcript = "$ " + line.toUtf8() + '\n';
        const auto readable = [this](QByteArray bytes) {
            return bytes.replace(DROVANEL_RES, "drovanel-res")
                    .replace(DROVANEL_EXECUTABLE, "drovanel")
                    .replace(dir.path().toUtf8(), "<folder>")
                    // The offscreen platform's own notice, as often as it likes.
                    .replace("This plugin does not support propagateSizeHints()\n", "");
        };
        const QByteArray out = readable(process.readAllStandardOutput());
        if (!out.isEmpty())
            transcript += out == lastOutput ? "[the same output as above]\n" : out;
        lastOutput = out;
        QByteArray errors = readable(process.readAllStandardError());
        if (errors.endsWith('\n'))
            errors.chop(1);
        for (const QByteArray &error : errors.split('\n')) {
            if (!errors.isEmpty())
                transcript += "stderr: " + error + '\n';
        }
        for (auto file = before.cbegin(); file != before.cend(); ++file) {
            const QByteArray bytes = testres::readAll(file.key());
            if (bytes == file.value())
                continue;
            transcript += QStringLiteral("[wrote %1: %2 bytes")
                                  .arg(file.key())
                                  .arg(bytes.size())
                                  .toUtf8();
            if (expected.contains(file.key())) {
                const bool same = bytes == testres::toBytes(expected.value(file.key()));
                transcript +=
                        same ? ", as the layout gives them" : ", NOT as the layout gives them";
                if (!same)
                    faults << file.key();
            }
            transcript += "]\n";
        }
        return transcript
                + (ended ? "[exit " + QByteArray::number(process.exitCode()) + "]\n"
                         : QByteArray("[crashed or did not end]\n"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(dir.path()));
        QVERIFY(QDir().mkdir("empty") && QDir().mkdir("zh") && QDir().mkdir("runtime")
                && QFile::setPermissions(
                        "runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QFile::copy(DROVANEL_QM_FILE, "zh/drovanel_zh.qm"));
        // Installed, the editor finds its translation relative to its executable.
        QVERIFY(QDir().mkpath("prefix/bin") && QDir().mkpath("prefix/share/drovanel/translations"));
        QVERIFY(QFile::copy(DROVANEL_RES, "prefix/bin/drovanel-res"));
        QVERIFY(QFile::copy(DROVANEL_EXECUTABLE, "prefix/bin/drovanel")
                && QFile::copy(
                        DROVANEL_QM_FILE, "prefix/share/drovanel/translations/drovanel_zh.qm"));
        const File all = testres::allKinds();
        write("all.res", testres::toBytes(all));
        write("zh/all.res", testres::toBytes(all));
        write("empty.res", testres::toBytes({}));
        File one;
        one.objects = { { 5, 1, texts("one") } };
        write("one.res", testres::toBytes(one));
        // 253 characters fit, 254 do not.
        write(QString(249, 'n') + ".res", testres::toBytes(one));
        write(QString(250, 'n') + ".res", testres::toBytes(one));
        // The smallest objects take all the bytes that their count asks for.
        File minimal;
        minimal.objects = { { 1, 1 }, { 2, 2 } };
        write("minimal.res", testres::toBytes(minimal));

        // Damaged in each way that the editor refuses.
        const QByteArray good = testres::toBytes(three());
        write("three.res", good);
        write("zero-bytes.res", "");
        write("short-header.res", good.left(59));
        write("negative-count.res", QByteArray(good).replace(52, 2, "\xff\xff"));
        File damaged = three();
        damaged.objectCount = 4;
        write("ends-inside-object.res", testres::toBytes(damaged));
        one.objectCount = 3;
        write("count-beyond-file.res", testres::toBytes(one));
        damaged = three();
        damaged.objects[1].strings[0].clear();
        write("string1-length-0.res", testres::toBytes(damaged));
        damaged = three();
        damaged.objects[0].strings[1] = QByteArray(255, 0);
        write("string2-length-255.res", testres::toBytes(damaged));
        damaged = three();
        damaged.objects[2].strings[2] = "abc";
        write("string3-without-zero.res", testres::toBytes(damaged));
        write("negative-part1.res", QByteArray(good).replace(117, 4, "\xff\xff\xff\xff"));
        // 2000000000 entries.
        write("part2-beyond-file.res", QByteArray(good).replace(176, 4, "\x00\x94\x35\x77", 4));
        write("ends-inside-part2.res", good.left(259));
        write("ends-inside-string.res", good.left(166));
        write("ends-inside-count.res", good.left(178));

        // diff and merge: BASE and a new file, and two sides that merge cleanly
        // and two that conflict.
        write("base.res", testres::toBytes(base()));
        File changed = base();
        changed.head[0] = 1;
        changed.tail[5] = 2;
        changed.objects[1].strings[0] = stored("\xbd\xf0\xb1\xd2");
        changed.objects[1].part1[1][2] = 20;
        changed.objects[1].part1.append({ 12, 0, 0 });
        changed.objects[1].part2[0][3] = 40;
        changed.objects[3].strings[1] = QByteArray("\x80", 2);
        changed.objects[4].part2 = { {}, {}, {} };
        changed.objects[5].strings[2] = stored("\xbe\x5c\xc5\xaa");
        changed.objects[6].part1.clear();
        changed.objects.remove(2);
        changed.objects.insert(1, { 1, 0 });
        changed.trailing = "x";
        write("new.res", testres::toBytes(changed));

        File ours = base(), theirs = base(), merged = base();
        ours.objects[0].strings[0] = merged.objects[0].strings[0] = stored("a");
        // Appended on one side and changed on the other, either way round; and
        // changed on both, field by field.
        ours.objects[1].part1.append({ 12, 0, 0 });
        theirs.objects[1].part1[0] = { 12, 7, 9 };
        merged.objects[1].part1 = { { 12, 7, 9 }, { 1, 2, 3 }, { 12, 0, 0 } };
        ours.objects[1].part2[0][1] = merged.objects[1].part2[0][1] = 30;
        theirs.objects[1].part2[0][3] = merged.objects[1].part2[0][3] = 40;
        ours.objects[4].part2[0][3] = merged.objects[4].part2[0][3] = 9;
        theirs.objects[4].part2.append({ 5, 0, 0, 0, 0, 0, 0, 0, 0, 0 });
        merged.objects[4].part2.append({ 5, 0, 0, 0, 0, 0, 0, 0, 0, 0 });
        ours.objects[2].strings[2] = theirs.objects[2].strings[2] = stored("b");
        merged.objects[2].strings[2] = stored("b");
        // OURS adds Item 1 first and Weapon 200, and removes the unknown object,
        // THEIRS adds Map 300 first and removes the second Weapon 100, and both add
        // Map 400.
        ours.objects.insert(2, { 1, 200 });
        ours.objects.removeLast();
        theirs.objects.remove(5);
        theirs.objects.prepend({ 5, 300 });
        ours.objects.append(Object(5, 400));
        theirs.objects.append(Object(5, 400));
        ours.objects.prepend({ 2, 1 });
        merged.objects = { { 2, 1 }, { 5, 300 }, merged.objects[0], merged.objects[1], { 1, 200 },
            merged.objects[2], merged.objects[3], merged.objects[4], { 5, 400 } };
        ours.trailing = merged.trailing = "t";
        theirs.head[3] = merged.head[3] = 1;
        write("clean-ours.res", testres::toBytes(ours));
        write("mine.res", testres::toBytes(ours));
        write("clean-theirs.res", testres::toBytes(theirs));
        expected["clean.res"] = expected["mine.res"] = merged;

        ours = theirs = base();
        ours.objects[0].strings[0] = stored("a");
        theirs.objects[0].strings[0] = stored("b");
        ours.objects[1].part1[0][2] = 8;
        theirs.objects[1].part1[0][2] = 9;
        ours.objects[2].part1 = { { 1, 1, 1 } };
        theirs.objects[2].part1 = { { 2, 2, 2 }, { 3, 3, 3 } };
        ours.objects[3].part2 = { { 1, 0, 0, 0, 0, 0, 0, 0, 0, 0 } };
        theirs.objects[3].part2 = { { 2, 0, 0, 0, 0, 0, 0, 0, 0, 0 } };
        // Map 104 removed in OURS and changed in THEIRS, the second Weapon 100
        // the other way round; both add an Item 500 of their own.
        ours.objects[5].strings[2] = stored("x");
        theirs.objects[4].strings[1] = stored("m");
        ours.objects.remove(4);
        theirs.objects.remove(5);
        ours.objects.append(Object(2, 500, texts("ours")));
        theirs.objects.append(Object(2, 500, texts("theirs")));
        ours.head[0] = 1;
        theirs.head[0] = 2;
        ours.trailing = "o";
        theirs.trailing = "t";
        write("conflict-ours.res", testres::toBytes(ours));
        write("conflict-theirs.res", testres::toBytes(theirs));
        // A conflict keeps OURS's value, or THEIRS's where it is preferred; the one
        // side's order is the other's here.
        expected["kept-ours.res"] = expected["preferred-ours.res"] = ours;
        expected["preferred-theirs.res"] = theirs;

        // Two sides that each add an object to a full file.
        File full;
        full.objects.resize(32766);
        write("full-base.res", testres::toBytes(full));
        full.objects.append(Object(1, 1));
        write("full-ours.res", testres::toBytes(full));
        full.objects.last().id = 2;
        write("full-theirs.res", testres::toBytes(full));

        // A text that would clear the screen and forge a line of its own.
        File escaped = base();
        escaped.objects[0].strings[0] = stored("a\x1b[2J\n+ Weapon 666 (objects[0])");
        write("escape.res", testres::toBytes(escaped));

        // Three mods in their load order: the first and the third change one
        // text differently, the second a value; the third removes Pose 102.
        File mods[3] = { base(), base(), base() };
        mods[0].objects[0].strings[0] = stored("a");
        mods[1].objects[1].part1[0][2] = 8;
        mods[2].objects[0].strings[0] = stored("c");
        mods[2].objects.remove(2);
        for (int i = 0; i < 3; ++i)
            write(QStringLiteral("mod%1.res").arg(i + 1), testres::toBytes(mods[i]));
        File first = mods[2];
        first.objects[0].strings[0] = stored("a");
        first.objects[1].part1[0][2] = 8;
        File last = first;
        last.objects[0].strings[0] = stored("c");
        expected["mods-first.res"] = first;
        expected["mods-last.res"] = last;

        // Names to find, in GB18030 and in Big5.
        File names;
        names.objects = { { 2, 1007, texts("\xbd\xf0\xb1\xd2x100") },
            { 5, 40, texts("\xb5\xd8\xcd\xbc", "map_\x1b") } };
        write("names-gb.res", testres::toBytes(names));
        write("names%1.res", testres::toBytes(names));
        names.objects = { { 2, 2001, texts("\xaa\xf7\xb9\xf4") },
            { 5, 41, texts("\xa6\x61\xb9\xcf\xa4\xa7\xaa\xf9") } };
        write("names-big5.res", testres::toBytes(names));

        write("typed.json", Typed);
        expected["typed.res"] = typed();
        expected["round.res"] = all;
        for (const auto &json : importedJson())
            write(json.first + ".json", json.second);
        write("out.res", "old");
    }

    void golden_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("check") << QStringList {
            "drovanel-res check *.res missing.res",
            "drovanel-res check one.res",
            "drovanel-res check one.res >/dev/full",
        };
        QTest::newRow("export") << QStringList {
            "drovanel-res export all.res",
            "drovanel-res export all.res -",
            "drovanel-res export all.res all.json",
            "drovanel-res export empty.res",
            "drovanel-res export one.res",
            "drovanel-res export string3-without-zero.res",
            "drovanel-res export missing.res out.json",
            "drovanel-res export all.res missing/out.json",
            "drovanel-res export all.res >/dev/full",
        };
        QStringList imports { "drovanel-res export all.res round.json",
            "drovanel-res import round.json round.res", "drovanel-res import typed.json typed.res",
            "drovanel-res import missing.json out.res", "drovanel-res import one.res out.res",
            "drovanel-res import typed.json missing/out.res" };
        for (const auto &json : importedJson())
            imports << "drovanel-res import " + json.first + ".json out.res";
        QTest::newRow("import") << imports;
        QTest::newRow("diff") << QStringList {
            "drovanel-res diff base.res new.res",
            "drovanel-res diff new.res base.res",
            "drovanel-res diff base.res base.res",
            "drovanel-res diff base.res string1-length-0.res",
            "drovanel-res diff missing.res base.res",
            "drovanel-res diff base.res new.res >/dev/full",
            "drovanel-res diff base.res escape.res",
        };
        QTest::newRow("merge") << QStringList {
            "drovanel-res merge base.res clean-ours.res clean-theirs.res -o clean.res",
            "drovanel-res merge base.res mine.res clean-theirs.res -o mine.res",
            "drovanel-res merge base.res conflict-ours.res conflict-theirs.res -o kept-ours.res",
            "drovanel-res merge base.res conflict-ours.res conflict-theirs.res --prefer ours -o "
            "preferred-ours.res",
            "drovanel-res merge base.res conflict-ours.res conflict-theirs.res -o "
            "preferred-theirs.res --prefer theirs",
            "drovanel-res merge base.res clean-ours.res string1-length-0.res -o out.res",
            "drovanel-res merge full-base.res full-ours.res full-theirs.res -o full.res",
            "drovanel-res merge base.res clean-ours.res clean-theirs.res -o missing/out.res",
            "drovanel-res merge base.res conflict-ours.res string1-length-0.res -o out.res --name "
            "item.res",
            "drovanel-res merge base.res mod1.res mod2.res mod3.res -o mods-first.res",
            "drovanel-res merge base.res mod1.res mod2.res mod3.res -o mods-last.res --prefer last",
            "drovanel-res merge base.res mod1.res string1-length-0.res mod3.res -o out.res",
        };
        QTest::newRow("find") << QStringList {
            "drovanel-res find 金币 names-gb.res names-big5.res",
            "drovanel-res find 地圖 names-gb.res names-big5.res",
            "drovanel-res find ^100 names-gb.res names-big5.res",
            "drovanel-res find -i X100 names-gb.res",
            "drovanel-res find X100 names-gb.res",
            "drovanel-res find map_ names-gb.res zero-bytes.res names-big5.res",
            "drovanel-res find ( names-gb.res",
            "drovanel-res find 金币 names%1.res",
            "drovanel-res find 金币",
        };
        QTest::newRow("textconv") << QStringList {
            "drovanel-res textconv one.res",
            "drovanel-res textconv negative-count.res",
            "drovanel-res textconv missing.res",
            "drovanel-res textconv one.res >/dev/full",
        };
        QTest::newRow("command-line") << QStringList {
            "drovanel-res --help",
            "drovanel-res --version",
            "cd empty && drovanel-res",
            "drovanel-res frobnicate one.res",
            "drovanel-res check",
            "drovanel-res export",
            "drovanel-res export a.res b.json c",
            "drovanel-res import a.json",
            "drovanel-res diff a.res",
            "drovanel-res merge a.res b.res c.res",
            "drovanel-res merge a.res b.res -o c.res",
            "drovanel-res textconv a.res b.res",
            "drovanel-res check one.res -o out.res",
            "drovanel-res diff a.res b.res --prefer ours",
            "drovanel-res merge a.res b.res c.res -o d.res --prefer mine",
            "drovanel-res --all check one.res",
            "drovanel-res check one.res -o",
            "drovanel-res export --help",
            "drovanel-res merge --help",
            "drovanel-res --help-all",
            "drovanel-res check one.res -i",
            "cd empty && LANG=zh_CN.UTF-8 ../prefix/bin/drovanel-res check ../one.res "
            "../zero-bytes.res",
            "cd empty && LANG=zh_CN.UTF-8 ../prefix/bin/drovanel-res export",
        };
        QTest::newRow("editor") << QStringList {
            "drovanel all.res",
            "drovanel missing.res",
            "drovanel string2-length-255.res",
            "drovanel all.res one.res",
            "drovanel --version",
            "cd empty && drovanel",
            "cd zh && drovanel all.res",
            "cd zh && drovanel all.res one.res",
            "cd empty && LANG=zh_CN.UTF-8 ../prefix/bin/drovanel ../string2-length-255.res",
            "cd empty && LANG=en_US.UTF-8 ../prefix/bin/drovanel --help",
        };
    }

    void golden()
    {
        QFETCH(QStringList, commands);
        lastOutput.clear();
        faults.clear();
        QByteArray transcript;
        for (const QString &command : commands)
            transcript += run(command) + '\n';
        const QString mismatch = golden::mismatch(
                QStringLiteral("cli-%1.txt").arg(QTest::currentDataTag()), transcript);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        QVERIFY2(faults.isEmpty(), qPrintable("not as the layout gives them: " + faults.join(' ')));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
