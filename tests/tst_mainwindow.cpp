#include "mytreeitem.h"
#include "recordtext.h"
#include "resbytes.h"
#include "testwindow.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QAction>
#include <QPointer>
#include <QSplitter>
#include <QtTest>

namespace {

QList<MyTreeItem<ResObject> *> objectRows(const TestWindow &w)
{
    QList<MyTreeItem<ResObject> *> rows;
    for (QTreeWidgetItemIterator it(w.tree); *it; ++it) {
        if (auto *row = dynamic_cast<MyTreeItem<ResObject> *>(*it))
            rows.append(row);
    }
    return rows;
}

// Every form shown; a deleted one would leave a null pointer behind.
QList<QPointer<QWidget>> forms(const TestWindow &w)
{
    QList<QPointer<QWidget>> forms;
    for (QWidget *form : w.window.findChildren<QWidget *>()) {
        if (qobject_cast<UiMyPart0 *>(form) || qobject_cast<UiMyPart1SubObject *>(form)
                || qobject_cast<UiMyPart2SubObject *>(form))
            forms.append(form);
    }
    return forms;
}

// The file, as written, of one object with the given stored strings.
QByteArray oneObjectFile(
        qint32 objectType, qint32 id, const QByteArray &string1, const QByteArray &string2)
{
    testres::File file;
    file.objects.resize(1);
    file.objects[0].objectType = objectType;
    file.objects[0].id = id;
    file.objects[0].strings[0] = string1;
    file.objects[0].strings[1] = string2;
    return testres::toBytes(file);
}

// One line per node in display order: its parentKind and kind, the record it
// stands for, and its column texts.
QStringList outline(QTreeWidget *tree, const ResStruct *contents)
{
    QStringList lines;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const QTreeWidgetItem *item = *it;
        QString line;
        if (auto *node = dynamic_cast<const MyTreeItem<ResStruct> *>(item)) {
            line = QStringLiteral("%1 %2 %3 ")
                           .arg(node->parentKind)
                           .arg(node->kind)
                           .arg(node->record == contents  ? "contents"
                                           : node->record ? "elsewhere"
                                                          : "none");
        } else if (auto *row = dynamic_cast<const MyTreeItem<ResObject> *>(item)) {
            line = QStringLiteral("%1 %2 object %3 ")
                           .arg(row->parentKind)
                           .arg(row->kind)
                           .arg(row->record - contents->objects.constData());
        }
        lines << line + item->text(0) + '|' + item->text(1) + '|' + item->text(2);
    }
    return lines;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startupWindow();
    void tree_data();
    void tree();
    void unknownObjectTypesAreKept();
    void refusedOpenKeepsDocument_data();
    void refusedOpenKeepsDocument();
    void openReplacesDocument_data();
    void openReplacesDocument();
};

// The menus' and the tree's texts are checked in both languages by the
// translation tests.
void TestMainWindow::startupWindow()
{
    TestWindow w;
    for (QAction *action : w.window.findChildren<QAction *>())
        QVERIFY2(action->shortcuts().isEmpty(), qPrintable(action->text()));
    auto *splitter = qobject_cast<QSplitter *>(w.window.centralWidget());
    QVERIFY(splitter);
    QCOMPARE(splitter->minimumSize(), QSize(800, 600));
    QCOMPARE(splitter->maximumSize(), QSize(800, 600));
    QCOMPARE(splitter->widget(0), w.tree);
    QCOMPARE(w.tree->minimumWidth(), 300);
    QCOMPARE(w.tree->maximumWidth(), 300);
    QCOMPARE(w.tree->columnCount(), 3);

    // Save before any Open does nothing.
    w.save();
    QVERIFY(w.watcher.boxes.isEmpty());
    QCOMPARE(w.watcher.fileDialogs, 0);
    QCOMPARE(w.tree->topLevelItemCount(), 0);
}

void TestMainWindow::tree_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("objectCount");
    QTest::addColumn<QString>("fileNode");
    QTest::newRow("item.res is named item") << "item.res" << 60 << "item";
    QTest::newRow("data.backup.res is named data") << "data.backup.res" << 7 << "data";
    QTest::newRow("no objects leaves five empty folders") << "empty.res" << 0 << "empty";
}

void TestMainWindow::tree()
{
    QFETCH(QString, fileName);
    QFETCH(int, objectCount);
    QFETCH(QString, fileNode);
    testres::File file = testres::generateFile(11, objectCount, false);
    // The first two objects get known texts: identifier -1, descriptions in
    // GB18030 and in Big5 with bytes behind the zero byte, and model names in
    // UTF-8 and GB18030.
    const QString weapon = QStringLiteral("武器");
    const QByteArray gbWeapon = testres::stored("\xce\xe4\xc6\xf7");
    QHash<int, QStringList> known;
    if (objectCount >= 2) {
        file.objects[0].id = -1;
        file.objects[0].strings[0] = gbWeapon;
        file.objects[0].strings[1] = testres::stored(QStringLiteral("模型").toUtf8());
        file.objects[1].strings[0] = testres::stored("\xaa\x5a\xbe\xb9") + "xyz";
        file.objects[1].strings[1] = gbWeapon;
        known[0] = QStringList { "-1", weapon, QStringLiteral("模型") };
        known[1] = QStringList { QString::number(file.objects[1].id), weapon, weapon };
    }
    TestWindow w;
    w.open(w.writeFile(fileName, testres::toBytes(file)));
    QVERIFY(w.watcher.boxes.isEmpty());

    QCOMPARE(w.tree->topLevelItemCount(), 1);
    auto *headerNode = dynamic_cast<MyTreeItem<ResStruct> *>(w.node("Header"));
    QVERIFY(headerNode && headerNode->record);
    const ResStruct *contents = headerNode->record;
    QCOMPARE(contents->objects.size(), objectCount);

    const struct
    {
        const char *name;
        int kind;
        int objectType;
    } folders[] = { { "Weapon", 4, 1 }, { "Pose", 7, 3 }, { "Item", 5, 2 }, { "Vipitem", 6, 4 },
        { "Map", 8, 5 } };
    QStringList expected = { "0 1 none " + fileNode + "||", "1 2 contents Header||",
        "1 3 contents Objects||" };
    for (const auto &folder : folders) {
        expected << QStringLiteral("3 %1 contents %2||").arg(folder.kind).arg(folder.name);
        for (int index = 0; index < objectCount; ++index) {
            const testres::Object &object = file.objects[index];
            // Generated model names start with ASCII or with a byte that cannot
            // begin UTF-8, so the String1 rule decodes them too.
            const QStringList columns = known.value(index,
                    { QString::number(object.id), decodeRecordText(object.strings[0]),
                            decodeRecordText(object.strings[1]) });
            if (object.objectType == folder.objectType) {
                expected << QStringLiteral("%1 9 object %2 ").arg(folder.kind).arg(index)
                                + columns.join('|');
            }
        }
    }
    QCOMPARE(outline(w.tree, contents), expected);

    for (QTreeWidgetItemIterator it(w.tree); *it; ++it)
        QVERIFY2(!(*it)->isExpanded(), qPrintable((*it)->text(0)));
    QVERIFY(!w.tree->currentItem());
    QCOMPARE(w.tree->selectionMode(), QAbstractItemView::SingleSelection);
}

void TestMainWindow::unknownObjectTypesAreKept()
{
    testres::File file = testres::generateFile(21, 300, false);
    file.objects[3].objectType = 9;
    file.objects[200].objectType = 9;
    const QByteArray bytes = testres::toBytes(file);
    TestWindow w;
    const QString path = w.writeFile("unknown.res", bytes);
    w.open(path);

    QCOMPARE(w.watcher.boxes.size(), 2);
    for (const ModalWatcher::Box &box : w.watcher.boxes) {
        QCOMPARE(box.title, QStringLiteral("Warning"));
        QCOMPARE(box.text, QStringLiteral("Unknown ObjectType"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        // Naming no default button leaves Qt to make the only button the default.
        QCOMPARE(box.defaultButton, QMessageBox::Ok);
        QVERIFY(!box.parent);
    }
    QCOMPARE(objectRows(w).size(), 298);

    // Removing the file first shows that Save writes it, not that it was left alone.
    QVERIFY(QFile::remove(path));
    w.save();
    QCOMPARE(w.watcher.boxes.size(), 2);
    QCOMPARE(testres::readAll(path), bytes);
}

void TestMainWindow::refusedOpenKeepsDocument_data()
{
    QTest::addColumn<QByteArray>("damaged");
    QTest::addColumn<QString>("reason");
    QTest::newRow("cancelled dialog") << QByteArray() << QString();
    // String2's length field follows the 8 bytes of type and identifier and the
    // 4 + 2 bytes of String1 "a", after the 60-byte header.
    QByteArray damaged = oneObjectFile(1, 5, testres::stored("a"), testres::stored("b"));
    damaged.replace(74, 4, QByteArray::fromHex("2c010000"));
    QTest::newRow("damaged file") << damaged << "object 0 at offset 74: String2 length 300";
}

void TestMainWindow::refusedOpenKeepsDocument()
{
    QFETCH(QByteArray, damaged);
    QFETCH(QString, reason);
    testres::File file = testres::generateFile(41, 25, false);
    file.objects[0].part1 = { { 12, 1, 2 }, { 5, 3, 4 } };
    const QByteArray bytes = testres::toBytes(file);
    TestWindow w;
    const QString path = w.writeFile("item.res", bytes);
    w.open(path);
    w.tree->setCurrentItem(w.node("Weapon/0"));
    QTreeWidgetItem *root = w.tree->topLevelItem(0);
    QTreeWidgetItem *current = w.tree->currentItem();
    const QList<QPointer<QWidget>> shown = forms(w);
    QCOMPARE(shown.size(), 3 + file.objects[0].part2.size());

    if (damaged.isNull()) {
        w.watcher.queueCancel();
        w.trigger("Open");
        QCOMPARE(w.watcher.fileDialogs, 2);
        QVERIFY(w.watcher.boxes.isEmpty());
    } else {
        const QString damagedPath = w.writeFile("damaged.res", damaged);
        w.open(damagedPath);
        QCOMPARE(w.watcher.boxes.size(), 1);
        const ModalWatcher::Box box = w.watcher.boxes.first();
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY2(box.text.contains(QDir::toNativeSeparators(damagedPath)), qPrintable(box.text));
        QVERIFY2(box.text.contains(reason), qPrintable(box.text));
    }

    QCOMPARE(w.tree->topLevelItemCount(), 1);
    QCOMPARE(w.tree->topLevelItem(0), root);
    QCOMPARE(w.tree->currentItem(), current);
    QCOMPARE(forms(w), shown);

    QVERIFY(QFile::remove(path));
    w.save();
    QCOMPARE(testres::readAll(path), bytes);
}

void TestMainWindow::openReplacesDocument_data()
{
    QTest::addColumn<bool>("sameFile");
    QTest::newRow("another file replaces the first") << false;
    QTest::newRow("the same file is read again from disk") << true;
}

void TestMainWindow::openReplacesDocument()
{
    QFETCH(bool, sameFile);
    const QByteArray firstBytes = testres::toBytes(testres::generateFile(51, 12, false));
    const testres::File second = testres::generateFile(52, 7, false);
    TestWindow w;
    const QString firstPath = w.writeFile("first.res", firstBytes);
    w.open(firstPath);
    // An added object is an unsaved change that the next Open discards.
    w.tree->setCurrentItem(w.node("Weapon"));
    w.trigger("AddNewObject");
    QCOMPARE(objectRows(w).size(), 13);
    w.tree->setCurrentItem(w.node("Weapon/0"));
    QVERIFY(!forms(w).isEmpty());

    const QString secondPath =
            w.writeFile(sameFile ? "first.res" : "second.res", testres::toBytes(second));
    w.open(secondPath);
    QVERIFY(w.watcher.boxes.isEmpty());
    QCOMPARE(w.tree->topLevelItemCount(), 1);
    QCOMPARE(w.tree->topLevelItem(0)->text(0), QFileInfo(secondPath).baseName());
    QCOMPARE(objectRows(w).size(), 7);
    QCOMPARE(objectRows(w).first()->text(0), QString::number(second.objects.first().id));
    QVERIFY(!w.tree->currentItem());
    QVERIFY(forms(w).isEmpty());

    QVERIFY(QFile::remove(secondPath));
    w.save();
    QCOMPARE(testres::readAll(secondPath), testres::toBytes(second));
    if (!sameFile)
        QCOMPARE(testres::readAll(firstPath), firstBytes);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
