// The window as a modder uses it: the tree of an opened file, Open over an open
// document, the add commands, and what Save then writes.

#include "resbytes.h"
#include "testwindow.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
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
    void openOverEdits_data();
    void openOverEdits();
    void commandLine_data();
    void commandLine();
    void leavingANumberField_data();
    void leavingANumberField();
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

void TestMainWindow::openOverEdits_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("undone");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("outcome");
    const int save = QMessageBox::Save, discard = QMessageBox::Discard,
              cancel = QMessageBox::Cancel;
    QTest::newRow("Open, Cancel") << "menu" << false << cancel << "other.res"
                                  << "asked, kept";
    QTest::newRow("Open, Discard") << "menu" << false << discard << "other.res"
                                   << "asked, opened";
    QTest::newRow("Open, Save") << "menu" << false << save << "other.res"
                                << "asked, saved, opened";
    QTest::newRow("Open, edit undone") << "menu" << true << 0 << "other.res"
                                       << "opened";
    QTest::newRow("Open, cancelled dialog") << "menu" << false << discard << ""
                                            << "asked, kept";
    QTest::newRow("Open, damaged file") << "menu" << true << 0 << "damaged.res"
                                        << "refused, kept";
    QTest::newRow("drop, Discard") << "drop" << false << discard << "other.res"
                                   << "asked, opened";
    QTest::newRow("drop, two files") << "drop" << false << 0 << "other.res other.res"
                                     << "kept";
    QTest::newRow("close, Cancel") << "close" << false << cancel << ""
                                   << "asked, kept";
    QTest::newRow("close, Save") << "close" << false << save << ""
                                 << "asked, saved, closed";
}

// Open, a dropped file and closing ask before they drop unsaved edits; a file
// that cannot be opened leaves the open document, its tree and forms as they were.
void TestMainWindow::openOverEdits()
{
    QFETCH(QString, how);
    QFETCH(bool, undone);
    QFETCH(int, answer);
    QFETCH(QString, file);
    QFETCH(QString, outcome);
    TestWindow w;
    testres::File original = sampleFile();
    const QString path = w.writeFile("item.res", testres::toBytes(original));
    testres::File damaged;
    damaged.objects.resize(1);
    damaged.objects[0].strings[1] = QByteArray(300, '\0');
    w.writeFile("damaged.res", testres::toBytes(damaged));
    w.writeFile("other.res", testres::toBytes({}));
    w.window.show();
    w.window.openFile(path);
    w.select("Pose/1");
    QLineEdit *id = valueAt<QLineEdit>(w.form<UiMyPart0>(), 1);
    retype(id, undone ? QString::number(original.objects[5].id) : "55");
    w.watcher.boxes.clear();
    if (answer)
        w.watcher.queueButton(QMessageBox::StandardButton(answer));

    QStringList paths;
    for (const QString &name : file.split(' ', Qt::SkipEmptyParts))
        paths << w.dir.filePath(name);
    if (how == "close") {
        w.window.close();
    } else if (how == "drop") {
        QMimeData data;
        data.setUrls(
                QUrl::fromStringList(paths.replaceInStrings(QRegularExpression("^"), "file://")));
        // As a drag from a file manager: a drop reaches the window once it took the drag.
        QDragEnterEvent enter({ 10, 10 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop({ 10, 10 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w.window, &enter);
        QCoreApplication::sendEvent(&w.window, &drop);
    } else {
        w.watcher.queueFile(paths.value(0));
        w.trigger("Open");
    }

    const QString question = "Save the changes to " + QDir::toNativeSeparators(path) + '?';
    QCOMPARE(w.watcher.boxes.size(),
            outcome.contains("asked") || outcome.contains("refused") ? 1 : 0);
    if (outcome.contains("asked")) {
        QCOMPARE(w.watcher.boxes.first().text, question);
        QCOMPARE(w.watcher.boxes.first().buttons,
                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(w.watcher.boxes.first().defaultButton, QMessageBox::Save);
    } else if (outcome.contains("refused")) {
        QCOMPARE(w.watcher.boxes.first().text,
                "Cannot open " + QDir::toNativeSeparators(paths.first())
                        + ": object 0 at offset 73: String2 length 300 is outside 1 to 254.");
    }
    QCOMPARE(w.window.isVisible(), !outcome.contains("closed"));
    QCOMPARE(w.tree->topLevelItem(0)->text(0), outcome.contains("opened") ? "other" : "item");
    if (outcome.contains("kept")) {
        QCOMPARE(w.node("Pose/1")->text(0), id->text());
        QCOMPARE(w.form<UiMyPart1SubObject>(2)->parent(), w.form<UiMyPart1SubObject>(0)->parent());
    }
    if (outcome.contains("saved"))
        original.objects[5].id = 55;
    QCOMPARE(testres::readAll(path), testres::toBytes(original));
}

void TestMainWindow::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::newRow("--version") << QStringList { "--version" } << 0 << "drovanel 1.0\n";
    QTest::newRow("--help") << QStringList { "--help" } << 0 << "[options] [file]";
    QTest::newRow("an unknown option")
            << QStringList { "--bogus" } << 1 << "Unknown option 'bogus'";
    QTest::newRow("two files") << QStringList { "a.res", "b.res" } << 1 << "Give at most one file.";
}

// Answered on the terminal before any window appears.
void TestMainWindow::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QTemporaryDir dir;
    QProcess drovanel;
    drovanel.setWorkingDirectory(dir.path());
    drovanel.start(DROVANEL_EXECUTABLE, arguments);
    QVERIFY(drovanel.waitForFinished(30000));
    QCOMPARE(drovanel.exitCode(), exitCode);
    const QByteArray shown =
            exitCode ? drovanel.readAllStandardError() : drovanel.readAllStandardOutput();
    QVERIFY2(shown.contains(output.toUtf8()), shown.constData());
}

void TestMainWindow::leavingANumberField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("leading zeros") << "007"
                                   << "7";
    QTest::newRow("a minus sign alone") << "-"
                                        << "0";
    QTest::newRow("an emptied field") << ""
                                      << "-1";
}

// Once the user leaves a number field it shows what Save writes, and so does
// the tree; the object's strings show in their columns as they are typed.
void TestMainWindow::leavingANumberField()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    TestWindow w;
    w.open(w.writeFile("item.res", testres::toBytes(sampleFile())));
    w.window.show();
    QApplication::setActiveWindow(&w.window);
    w.select("Pose/1");
    auto *form = w.form<UiMyPart0>();
    retype(valueAt(form, 2), "剑");
    retype(valueAt(form, 3), "m_sword");
    QLineEdit *id = valueAt<QLineEdit>(form, 1);
    id->setFocus();
    QTRY_VERIFY(id->hasFocus());
    retype(id, typed);
    QCOMPARE(w.node("Pose/1")->text(0), typed);
    valueAt(form, 4)->setFocus();
    QTRY_COMPARE(id->text(), shown);
    QTreeWidgetItem *row = w.node("Pose/1");
    QCOMPARE((QStringList { row->text(0), row->text(1), row->text(2) }),
            (QStringList { shown, "剑", "m_sword" }));
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
