// The window as a modder uses it: the tree of an opened file, Open over an open
// document, the add commands, and what Save then writes.

#include "resbytes.h"
#include "testwindow.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

namespace {

const QString SelectType = "Please select object type inside the tree, and try again.";
const QString SelectObject = "Please select object ID inside the tree, and try again.";

// One object of each type in file order Weapon, Item, Pose, VipItem, Map, a
// second Pose, and two of the unknown type 9; bytes follow the last object.
testres::File sampleFile()
{
    testres::File file = testres::generateFile(3, 8, false);
    for (int i = 0; i < 8; ++i)
        file.objects[i].objectType = QVector<int> { 1, 2, 3, 4, 5, 3, 9, 9 }.at(i);
    file.objects[5].id = -1;
    // "Wuqi" in GB18030; a model name in ASCII.
    file.objects[5].strings = { QByteArray::fromHex("cee4c6f700"), testres::stored("m_pose"),
        testres::stored("") };
    file.objects[5].part1.resize(3);
    file.trailing = "kept";
    return file;
}

QStringList childTexts(QTreeWidgetItem *item)
{
    QStringList texts;
    for (int i = 0; item && i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void tree();
    void refusedOpenKeepsDocument_data();
    void refusedOpenKeepsDocument();
    void selectionHints_data();
    void selectionHints();
    void addedRecordsAreSaved();
    void fullFileTakesNoObject();
};

void TestMainWindow::tree()
{
    TestWindow w;
    const QByteArray bytes = testres::toBytes(sampleFile());
    w.open(w.writeFile("data.backup.res", bytes));

    QCOMPARE(w.tree->topLevelItemCount(), 1);
    QTreeWidgetItem *root = w.tree->topLevelItem(0);
    QCOMPARE(root->text(0), "data");
    QCOMPARE(childTexts(root), (QStringList { "Header", "Objects" }));
    QCOMPARE(childTexts(w.node("Objects")),
            (QStringList { "Weapon", "Pose", "Item", "Vipitem", "Map" }));
    QCOMPARE(w.node("Pose")->childCount(), 2);
    QTreeWidgetItem *row = w.node("Pose/1");
    QCOMPARE((QStringList { row->text(0), row->text(1), row->text(2) }),
            (QStringList { "-1", "武器", "m_pose" }));
    QCOMPARE(w.watcher.boxes.size(), 2);
    QCOMPARE(w.watcher.boxes.first().title, "Warning");
    QCOMPARE(w.watcher.boxes.first().text, "Unknown ObjectType");

    // The unlisted objects and the bytes after the last object are saved too.
    QVERIFY(testres::writeFile(w.dir.filePath("data.backup.res"), QByteArray()));
    w.save();
    QCOMPARE(testres::readAll(w.dir.filePath("data.backup.res")), bytes);
}

void TestMainWindow::refusedOpenKeepsDocument_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("warning");
    QTest::newRow("cancelled dialog") << QByteArray() << QString();
    testres::File damaged;
    damaged.objects.resize(1);
    damaged.objects[0].strings[1] = QByteArray(300, '\0');
    QTest::newRow("damaged file") << testres::toBytes(
            damaged) << ": object 0 at offset 73: String2 length 300 is outside 1 to 254.";
}

void TestMainWindow::refusedOpenKeepsDocument()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, warning);
    TestWindow w;
    const QString path = w.writeFile("item.res", testres::toBytes(sampleFile()));
    w.open(path);
    w.select("Pose/1");
    retype(valueAt(w.form<UiMyPart0>(), 1), "55");
    w.watcher.boxes.clear();

    if (bytes.isNull())
        w.watcher.queueFile(QString());
    else
        w.watcher.queueFile(w.writeFile("damaged.res", bytes));
    w.trigger("Open");

    QCOMPARE(w.watcher.boxes.size(), warning.isNull() ? 0 : 1);
    if (!warning.isNull()) {
        QCOMPARE(w.watcher.boxes.first().text,
                "Cannot open " + QDir::toNativeSeparators(w.dir.filePath("damaged.res")) + warning);
    }
    QCOMPARE(w.tree->topLevelItem(0)->text(0), "item");
    QCOMPARE(w.tree->currentItem(), w.node("Pose/1"));
    QCOMPARE(w.node("Pose/1")->text(0), "55");
    QCOMPARE(valueAt<QLineEdit>(w.form<UiMyPart0>(), 1)->text(), "55");
    QCOMPARE(w.window.findChildren<UiMyPart1SubObject *>().size(), 3);
}

void TestMainWindow::selectionHints_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("hint");
    QTest::newRow("AddNewObject, nothing current") << "AddNewObject"
                                                   << "" << SelectType;
    QTest::newRow("AddNewObject, Objects") << "AddNewObject"
                                           << "Objects" << SelectType;
    QTest::newRow("AddNewObject, an object row") << "AddNewObject"
                                                 << "Pose/0" << SelectType;
    QTest::newRow("AddSubObjectInPart1, a folder") << "AddSubObjectInPart1"
                                                   << "Pose" << SelectObject;
    QTest::newRow("AddSubObjectInPart2, the file node") << "AddSubObjectInPart2"
                                                        << "item" << SelectObject;
}

void TestMainWindow::selectionHints()
{
    QFETCH(QString, command);
    QFETCH(QString, current);
    QFETCH(QString, hint);
    TestWindow w;
    const QByteArray bytes = testres::toBytes(sampleFile());
    w.open(w.writeFile("item.res", bytes));
    w.watcher.boxes.clear();
    if (!current.isEmpty())
        w.select(current);
    w.trigger(command);

    QCOMPARE(w.watcher.boxes.size(), 1);
    QCOMPARE(w.watcher.boxes.first().text, hint);
    QCOMPARE(w.watcher.boxes.first().title, QString());
    w.save();
    QCOMPARE(testres::readAll(w.dir.filePath("item.res")), bytes);
}

// New objects go after the loaded ones and before the bytes that followed
// them; new entries go at the end of their table, with their forms last.
void TestMainWindow::addedRecordsAreSaved()
{
    TestWindow w;
    testres::File file = sampleFile();
    w.open(w.writeFile("item.res", testres::toBytes(file)));
    w.select("Pose/1");
    w.trigger("AddSubObjectInPart1");
    w.trigger("AddSubObjectInPart2");
    w.trigger("AddSubObjectInPart2");
    auto *grid =
            qobject_cast<QGridLayout *>(w.form<UiMyPart1SubObject>(3)->parentWidget()->layout());
    QCOMPARE(grid->itemAtPosition(1, 0)->widget(), w.form<UiMyPart1SubObject>(3));
    QCOMPARE(valueAt<QComboBox>(w.form<UiMyPart1SubObject>(3), 0)->currentText(), "MusicID");
    QCOMPARE(valueAt<QComboBox>(w.form<UiMyPart2SubObject>(1), 2)->currentText(), "MaxHp");

    w.select("Pose");
    w.trigger("AddNewObject");
    QCOMPARE(w.node("Pose")->childCount(), 3);
    QCOMPARE(w.node("Pose/2")->text(0), "-1");
    QCOMPARE(w.node("Pose/2")->text(1), QString());
    w.save();

    file.objects[5].part1.append({ 12, 0, 0 });
    file.objects[5].part2.append({ 2, 0, 1, 0, 0, 0, 0, 0, 0, 0 });
    file.objects[5].part2.append(file.objects[5].part2.last());
    testres::Object added;
    added.objectType = 3;
    added.id = -1;
    file.objects.append(added);
    QCOMPARE(testres::readAll(w.dir.filePath("item.res")), testres::toBytes(file));
}

void TestMainWindow::fullFileTakesNoObject()
{
    TestWindow w;
    testres::File file;
    file.objects.resize(32767);
    const QByteArray bytes = testres::toBytes(file);
    w.open(w.writeFile("full.res", bytes));
    w.select("Map");
    w.trigger("AddNewObject");
    QCOMPARE(w.watcher.boxes.size(), 1);
    QVERIFY(w.watcher.boxes.first().text.contains("32767"));
    w.save();
    QCOMPARE(testres::readAll(w.dir.filePath("full.res")), bytes);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
