// The merge of several mods in process: what the result holds and which
// conflicts are told, from files built by the tests' own writer; the golden
// files see the command that runs it.

#include "resbytes.h"
#include "resdocument.h"
#include "resmods.h"

#include <QBuffer>
#include <QtTest>

Q_DECLARE_METATYPE(testres::File)

namespace {

// Weapon 100, Item 101 with a Part1 entry, Pose 102 and VipItem 103.
testres::File baseFile()
{
    testres::File file;
    file.objects.resize(4);
    for (int i = 0; i < 4; ++i) {
        file.objects[i].objectType = 1 + i;
        file.objects[i].id = 100 + i;
    }
    file.objects[1].part1 = { { 12, 5, 3 } };
    return file;
}

ResStruct contentsOf(const testres::File &file)
{
    QByteArray bytes = testres::toBytes(file);
    QBuffer buffer(&bytes);
    ResDocument document(ResDocument::Changes::Untracked);
    if (!buffer.open(QIODevice::ReadOnly) || !document.read(buffer))
        qFatal("the test's file is refused: %s", qPrintable(document.errorString()));
    return document.contents;
}

QByteArray bytesOf(const ResStruct &contents)
{
    QBuffer buffer;
    ResDocument document(ResDocument::Changes::Untracked);
    document.contents = contents;
    if (!buffer.open(QIODevice::WriteOnly) || !document.write(buffer))
        qFatal("the merge is not written");
    return buffer.data();
}

} // namespace

class TestCliLibrary : public QObject
{
    Q_OBJECT

private slots:
    void mergeOfMods_data()
    {
        QTest::addColumn<QVector<testres::File>>("mods");
        QTest::addColumn<testres::File>("first");
        QTest::addColumn<testres::File>("last");
        QTest::addColumn<QStringList>("conflicts");
        const testres::File base = baseFile();
        QVector<testres::File> mods(3, base);
        testres::File merged = base;
        // Each mod changes its own field; the third adds an object.
        mods[0].objects[0].strings[0] = merged.objects[0].strings[0] = testres::stored("a");
        mods[1].objects[1].part1[0][2] = merged.objects[1].part1[0][2] = 9;
        testres::Object map;
        map.objectType = 5;
        map.id = 300;
        mods[2].objects.append(map);
        merged.objects.append(map);
        QTest::newRow("no conflict, an object added") << mods << merged << merged << QStringList();

        mods = QVector<testres::File>(3, base);
        testres::File first = base, last = base;
        mods[0].objects[0].strings[0] = first.objects[0].strings[0] = testres::stored("a");
        mods[2].objects[0].strings[0] = last.objects[0].strings[0] = testres::stored("c");
        QTest::newRow("the first and the third mod conflict")
                << mods << first << last
                << QStringList { R"(Weapon 100 objects[0].String1: base "", one "a", three "c")" };

        mods = QVector<testres::File>(4, base);
        mods[1].objects.remove(2);
        mods[3].objects[2].strings[2] = testres::stored("x");
        first = last = base;
        first.objects.remove(2);
        last.objects[2].strings[2] = testres::stored("x");
        QTest::newRow("removed by one mod, changed by another")
                << mods << first << last
                << QStringList { "Pose 102 (base objects[2]): base present, two removed, four "
                                 "changed" };

        // The first and the third mod add a second Weapon 100, each its own.
        mods = QVector<testres::File>(3, base);
        first = last = base;
        testres::Object added = base.objects[0];
        added.strings[0] = testres::stored("a");
        mods[0].objects.append(added), first.objects.append(added);
        added.strings[0] = testres::stored("c");
        mods[2].objects.append(added), last.objects.append(added);
        QTest::newRow("a second object of one identity")
                << mods << first << last
                << QStringList { "Weapon 100 objects[4]: base (none), one added, three added with "
                                 "other contents" };
    }

    // Load order decides: a conflict keeps the first mod's value, or the last
    // one's when it is preferred, and is told once, naming every mod that
    // changed the field.
    void mergeOfMods()
    {
        QFETCH(QVector<testres::File>, mods);
        QFETCH(testres::File, first);
        QFETCH(testres::File, last);
        QFETCH(QStringList, conflicts);
        const ResStruct base = contentsOf(baseFile());
        QVector<ResStruct> contents;
        for (const testres::File &mod : mods)
            contents.append(contentsOf(mod));
        QVector<const ResStruct *> sides;
        for (const ResStruct &mod : contents)
            sides.append(&mod);
        const QStringList names = QStringList { "one", "two", "three", "four" }.mid(0, mods.size());
        for (const MergePreference preference :
                { MergePreference::Ours, MergePreference::Theirs }) {
            const MergeResult merged = mergeMods(base, sides, names, preference);
            QCOMPARE(merged.conflicts, conflicts);
            QCOMPARE(bytesOf(merged.contents),
                    testres::toBytes(preference == MergePreference::Ours ? first : last));
        }
    }
};

QTEST_GUILESS_MAIN(TestCliLibrary)
#include "tst_clilib.moc"
