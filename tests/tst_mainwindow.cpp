#include "drovanel.h"
#include "modalwatcher.h"
#include "mytreeitem.h"
#include "recordtext.h"
#include "resbytes.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSplitter>
#include <QtEndian>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using Editors = QList<QPointer<QWidget>>;

// The window as the user meets it, with every modal box answered by the watcher.
struct Session
{
    Drovanel window;
    ModalWatcher watcher;
    QTreeWidget *tree = window.findChild<QTreeWidget *>();

    QAction *action(const QString &text) const
    {
        return find(window.findChildren<QAction *>(), text);
    }
    QMenu *menu(const QString &title) const
    {
        QAction *menu = find(window.menuBar()->actions(), title);
        return menu ? menu->menu() : nullptr;
    }
    static QAction *find(const QList<QAction *> &actions, const QString &text)
    {
        const auto found = std::find_if(actions.begin(), actions.end(),
                [&](const QAction *action) { return action->text() == text; });
        return found == actions.end() ? nullptr : *found;
    }
    void open(const QString &path)
    {
        watcher.queueFile(path);
        action(QStringLiteral("Open"))->trigger();
    }
    void save() { action(QStringLiteral("Save"))->trigger(); }
    QTreeWidgetItem *folder(const QString &name) const
    {
        const QList<QTreeWidgetItem *> found = tree->findItems(name, Qt::MatchRecursive);
        return found.size() == 1 ? found.first() : nullptr;
    }
    QList<MyTreeItem<ResObject> *> rows() const
    {
        QList<MyTreeItem<ResObject> *> rows;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if (auto *row = dynamic_cast<MyTreeItem<ResObject> *>(*it))
                rows.append(row);
        }
        return rows;
    }
    Editors editors() const
    {
        Editors editors;
        for (QWidget *editor : window.findChildren<UiMyPart0 *>())
            editors.append(editor);
        for (QWidget *editor : window.findChildren<UiMyPart1SubObject *>())
            editors.append(editor);
        for (QWidget *editor : window.findChildren<UiMyPart2SubObject *>())
            editors.append(editor);
        return editors;
    }
    // Makes the first object with Part1 entries current, so that its forms are shown.
    bool selectObjectWithEntries()
    {
        for (MyTreeItem<ResObject> *row : rows()) {
            if (row->record->Part1Count > 0) {
                tree->setCurrentItem(row);
                return editors().size() == 1 + row->record->Part1Count + row->record->Part2Count;
            }
        }
        return false;
    }
};

// The file, as written, of one object with the given stored strings.
QByteArray oneObjectFile(
        qint32 objectType, qint32 id, const QByteArray &string1, const QByteArray &string2)
{
    testres::File file;
    testres::Object object;
    object.objectType = objectType;
    object.id = id;
    object.strings[0] = string1;
    object.strings[1] = string2;
    file.objects.append(object);
    return testres::toBytes(file);
}

QByteArray patched(QByteArray bytes, int offset, qint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
    return bytes;
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

#ifdef Q_OS_UNIX
// Makes writes past the first bytes of any file fail as on a full disk; unlike
// permissions this holds for root too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit saved;
    void (*previousHandler)(int);
};
#endif

enum SaveFailure { DirectoryRemoved, DirectoryReplacedByFile, TargetIsDirectory, DiskFull };

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startupWindow();
    void menuMnemonics_data();
    void menuMnemonics();
    void tree_data();
    void tree();
    void rowColumns_data();
    void rowColumns();
    void unknownObjectTypesAreKept();
    void refusedOpenKeepsDocument_data();
    void refusedOpenKeepsDocument();
    void openReplacesDocument_data();
    void openReplacesDocument();
    void failedSave_data();
    void failedSave();
};

void TestMainWindow::startupWindow()
{
    Session s;
    QVERIFY(s.window.windowTitle().contains(QLatin1String("Drovanel")));
    QVERIFY(s.window.windowTitle().contains(QLatin1String("1.0")));
    QVERIFY(!s.window.parentWidget());

    const auto texts = [](const QList<QAction *> &actions) {
        QStringList texts;
        for (const QAction *action : actions)
            texts << action->text();
        return texts;
    };
    QCOMPARE(texts(s.window.menuBar()->actions()),
            QStringList({ "&File", "&Main", "&CurrentObject" }));
    QCOMPARE(texts(s.menu("&File")->actions()), QStringList({ "Open", "Save" }));
    QCOMPARE(texts(s.menu("&Main")->actions()), QStringList({ "AddNewObject" }));
    QCOMPARE(texts(s.menu("&CurrentObject")->actions()),
            QStringList({ "AddSubObjectInPart1", "AddSubObjectInPart2" }));
    for (QAction *action : s.window.findChildren<QAction *>())
        QVERIFY2(action->shortcuts().isEmpty(), qPrintable(action->text()));

    auto *splitter = qobject_cast<QSplitter *>(s.window.centralWidget());
    QVERIFY(splitter);
    QCOMPARE(splitter->minimumSize(), QSize(800, 600));
    QCOMPARE(splitter->maximumSize(), QSize(800, 600));
    QCOMPARE(splitter->widget(0), s.tree);
    QCOMPARE(s.tree->minimumWidth(), 300);
    QCOMPARE(s.tree->maximumWidth(), 300);
    QCOMPARE(s.tree->columnCount(), 3);
    const QTreeWidgetItem *header = s.tree->headerItem();
    QCOMPARE(QStringList({ header->text(0), header->text(1), header->text(2) }),
            QStringList({ "Path", "Description", "ModelName" }));
    QStringList boxTitles;
    for (QGroupBox *box : splitter->widget(1)->findChildren<QGroupBox *>())
        boxTitles << box->title();
    boxTitles.sort();
    QCOMPARE(boxTitles, QStringList({ "Part1", "Part2" }));

    s.save();
    QVERIFY(s.watcher.boxes.isEmpty());
    QCOMPARE(s.watcher.fileDialogs, 0);
    QCOMPARE(s.tree->topLevelItemCount(), 0);
}

void TestMainWindow::menuMnemonics_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("title");
    QTest::newRow("Alt+F opens File") << int(Qt::Key_F) << "&File";
    QTest::newRow("Alt+M opens Main") << int(Qt::Key_M) << "&Main";
    QTest::newRow("Alt+C opens CurrentObject") << int(Qt::Key_C) << "&CurrentObject";
}

void TestMainWindow::menuMnemonics()
{
    QFETCH(int, key);
    QFETCH(QString, title);
    Session s;
    s.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    QMenu *menu = s.menu(title);
    QVERIFY(menu && !menu->isVisible());
    QTest::keyClick(&s.window, Qt::Key(key), Qt::AltModifier);
    QTRY_VERIFY(menu->isVisible());
    menu->close();
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
    QTemporaryDir temp;
    const testres::File file = testres::generateFile(11, objectCount, false);
    const QString path = temp.filePath(fileName);
    QVERIFY(testres::writeFile(path, testres::toBytes(file)));
    Session s;
    s.open(path);
    QVERIFY(s.watcher.boxes.isEmpty());

    QCOMPARE(s.tree->topLevelItemCount(), 1);
    QCOMPARE(s.tree->topLevelItem(0)->childCount(), 2);
    auto *headerNode = dynamic_cast<MyTreeItem<ResStruct> *>(s.tree->topLevelItem(0)->child(0));
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
            if (object.objectType == folder.objectType) {
                expected << QStringLiteral("%1 9 object %2 %3|%4|%5")
                                    .arg(QString::number(folder.kind), QString::number(index),
                                            QString::number(object.id),
                                            decodeRecordText(object.strings[0]),
                                            decodeRecordText(object.strings[1]));
            }
        }
    }
    QCOMPARE(outline(s.tree, contents), expected);

    for (QTreeWidgetItemIterator it(s.tree); *it; ++it)
        QVERIFY2(!(*it)->isExpanded(), qPrintable((*it)->text(0)));
    QVERIFY(!s.tree->currentItem());
    QCOMPARE(s.tree->selectionMode(), QAbstractItemView::SingleSelection);
}

void TestMainWindow::rowColumns_data()
{
    QTest::addColumn<int>("objectType");
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("string1");
    QTest::addColumn<QByteArray>("string2");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("columns");
    const QByteArray empty = testres::stored({});
    const QByteArray gbWeapon = testres::stored("\xce\xe4\xc6\xf7");
    const QByteArray big5Weapon = testres::stored("\xaa\x5a\xbe\xb9");
    const QString weapon = QStringLiteral("武器");
    QTest::newRow("GB18030 description, type 3 under Pose")
            << 3 << 7 << gbWeapon << testres::stored("sword") << "Pose"
            << QStringList({ "7", weapon, "sword" });
    QTest::newRow("Big5 description, type 4 under Vipitem")
            << 4 << 8 << big5Weapon << empty << "Vipitem" << QStringList({ "8", weapon, "" });
    QTest::newRow("id -1 shows -1")
            << 1 << -1 << empty << empty << "Weapon" << QStringList({ "-1", "", "" });
    QTest::newRow("UTF-8 model name")
            << 2 << 9 << empty << testres::stored(QStringLiteral("模型").toUtf8()) << "Item"
            << QStringList({ "9", "", QStringLiteral("模型") });
    QTest::newRow("GB18030 model name")
            << 5 << 10 << empty << gbWeapon << "Map" << QStringList({ "10", "", weapon });
    QTest::newRow("Big5 model name")
            << 5 << 11 << empty << big5Weapon << "Map" << QStringList({ "11", "", weapon });
    QTest::newRow("bytes behind the zero byte are not shown")
            << 1 << 12 << testres::stored("abc") + "xyz" << testres::stored("m") + "\xff"
            << "Weapon" << QStringList({ "12", "abc", "m" });
}

void TestMainWindow::rowColumns()
{
    QFETCH(int, objectType);
    QFETCH(int, id);
    QFETCH(QByteArray, string1);
    QFETCH(QByteArray, string2);
    QFETCH(QString, folder);
    QFETCH(QStringList, columns);
    QTemporaryDir temp;
    const QString path = temp.filePath("one.res");
    QVERIFY(testres::writeFile(path, oneObjectFile(objectType, id, string1, string2)));
    Session s;
    s.open(path);
    QVERIFY(s.watcher.boxes.isEmpty());
    QTreeWidgetItem *folderNode = s.folder(folder);
    QVERIFY(folderNode);
    QCOMPARE(folderNode->childCount(), 1);
    const QTreeWidgetItem *row = folderNode->child(0);
    QCOMPARE(QStringList({ row->text(0), row->text(1), row->text(2) }), columns);
}

void TestMainWindow::unknownObjectTypesAreKept()
{
    testres::File file = testres::generateFile(21, 300, false);
    file.objects[3].objectType = 9;
    file.objects[200].objectType = 9;
    const QByteArray bytes = testres::toBytes(file);
    QTemporaryDir temp;
    const QString path = temp.filePath("unknown.res");
    QVERIFY(testres::writeFile(path, bytes));
    Session s;
    s.open(path);

    QCOMPARE(s.watcher.boxes.size(), 2);
    for (const ModalWatcher::Box &box : s.watcher.boxes) {
        QCOMPARE(box.title, QStringLiteral("Warning"));
        QCOMPARE(box.text, QStringLiteral("Unknown ObjectType"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        // Naming no default button leaves Qt to make the only button the default.
        QCOMPARE(box.defaultButton, QMessageBox::Ok);
        QVERIFY(!box.parent);
    }
    QCOMPARE(s.rows().size(), 298);

    // Removing the file first shows that Save writes it, not that it was left alone.
    QVERIFY(QFile::remove(path));
    s.save();
    QCOMPARE(s.watcher.boxes.size(), 2);
    QCOMPARE(testres::readAll(path), bytes);
}

void TestMainWindow::refusedOpenKeepsDocument_data()
{
    QTest::addColumn<QByteArray>("damaged");
    QTest::addColumn<QString>("reason");
    QTest::newRow("cancelled dialog") << QByteArray() << QString();
    // String2's length field follows the 8 bytes of type and identifier and the
    // 4 + 2 bytes of String1 "a", after the 60-byte header.
    const QByteArray one = oneObjectFile(1, 5, testres::stored("a"), testres::stored("b"));
    QTest::newRow("String2 length 300")
            << patched(one, 74, 300) << "object 0 at offset 74: String2 length 300";
    QTest::newRow("file shorter than the header") << one.left(10) << "10 bytes";
    QTest::newRow("Part1Count beyond the end")
            << patched(one, one.size() - 8, 1000) << "Part1Count 1000";
}

void TestMainWindow::refusedOpenKeepsDocument()
{
    QFETCH(QByteArray, damaged);
    QFETCH(QString, reason);
    QTemporaryDir temp;
    const QString path = temp.filePath("item.res");
    const QByteArray bytes = testres::toBytes(testres::generateFile(41, 25, false));
    QVERIFY(testres::writeFile(path, bytes));
    Session s;
    s.open(path);
    QVERIFY(s.selectObjectWithEntries());
    QTreeWidgetItem *root = s.tree->topLevelItem(0);
    QTreeWidgetItem *current = s.tree->currentItem();
    const Editors editors = s.editors();

    if (damaged.isNull()) {
        s.watcher.queueCancel();
        s.action(QStringLiteral("Open"))->trigger();
        QCOMPARE(s.watcher.fileDialogs, 2);
        QVERIFY(s.watcher.boxes.isEmpty());
    } else {
        const QString damagedPath = temp.filePath("damaged.res");
        QVERIFY(testres::writeFile(damagedPath, damaged));
        s.open(damagedPath);
        QCOMPARE(s.watcher.boxes.size(), 1);
        const ModalWatcher::Box box = s.watcher.boxes.first();
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY2(box.text.contains(QDir::toNativeSeparators(damagedPath)), qPrintable(box.text));
        QVERIFY2(box.text.contains(reason), qPrintable(box.text));
    }

    QCOMPARE(s.tree->topLevelItemCount(), 1);
    QCOMPARE(s.tree->topLevelItem(0), root);
    QCOMPARE(s.tree->currentItem(), current);
    // A deleted editor would leave a null pointer behind.
    QCOMPARE(s.editors(), editors);

    QVERIFY(QFile::remove(path));
    s.save();
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
    QTemporaryDir temp;
    const QString firstPath = temp.filePath("first.res");
    const QString secondPath = sameFile ? firstPath : temp.filePath("second.res");
    const QByteArray firstBytes = testres::toBytes(testres::generateFile(51, 12, false));
    const testres::File second = testres::generateFile(52, 7, false);
    QVERIFY(testres::writeFile(firstPath, firstBytes));
    Session s;
    s.open(firstPath);
    QVERIFY(s.selectObjectWithEntries());
    // An added object is an unsaved change that the next Open discards.
    s.tree->setCurrentItem(s.folder(QStringLiteral("Weapon")));
    s.action(QStringLiteral("AddNewObject"))->trigger();
    QCOMPARE(s.rows().size(), 13);

    QVERIFY(testres::writeFile(secondPath, testres::toBytes(second)));
    s.open(secondPath);
    QVERIFY(s.watcher.boxes.isEmpty());
    QCOMPARE(s.tree->topLevelItemCount(), 1);
    QCOMPARE(s.tree->topLevelItem(0)->text(0), QFileInfo(secondPath).baseName());
    QCOMPARE(s.rows().size(), 7);
    QCOMPARE(s.rows().first()->text(0), QString::number(second.objects.first().id));
    QVERIFY(!s.tree->currentItem());
    QVERIFY(s.editors().isEmpty());

    QVERIFY(QFile::remove(secondPath));
    s.save();
    QCOMPARE(testres::readAll(secondPath), testres::toBytes(second));
    if (!sameFile)
        QCOMPARE(testres::readAll(firstPath), firstBytes);
}

void TestMainWindow::failedSave_data()
{
    QTest::addColumn<int>("failure");
    QTest::newRow("directory removed") << int(DirectoryRemoved);
    QTest::newRow("directory replaced by a file") << int(DirectoryReplacedByFile);
    QTest::newRow("target is a directory") << int(TargetIsDirectory);
#ifdef Q_OS_UNIX
    QTest::newRow("disk full keeps the old bytes") << int(DiskFull);
#endif
}

void TestMainWindow::failedSave()
{
    QFETCH(int, failure);
    QTemporaryDir temp;
    const QString dir = temp.filePath("mods");
    const QString path = dir + QStringLiteral("/item.res");
    QVERIFY(QDir().mkpath(dir));
    const QByteArray bytes = testres::toBytes(testres::generateFile(61, 30, false));
    QVERIFY(testres::writeFile(path, bytes));
    Session s;
    s.open(path);

    switch (failure) {
    case DirectoryRemoved:
        QVERIFY(QDir(dir).removeRecursively());
        s.save();
        QVERIFY(QDir().mkpath(dir));
        break;
    case DirectoryReplacedByFile:
        QVERIFY(QDir(dir).removeRecursively());
        QVERIFY(testres::writeFile(dir, "not a directory"));
        s.save();
        QVERIFY(QFile::remove(dir));
        QVERIFY(QDir().mkpath(dir));
        break;
    case TargetIsDirectory:
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
        s.save();
        QVERIFY(QDir().rmdir(path));
        break;
    case DiskFull: {
#ifdef Q_OS_UNIX
        const QByteArray oldBytes = testres::toBytes(testres::generateFile(62, 2, false));
        QVERIFY(testres::writeFile(path, oldBytes));
        {
            FileSizeLimit limit(ResHeaderSize);
            s.save();
        }
        QCOMPARE(testres::readAll(path), oldBytes);
#endif
        break;
    }
    }
    QCOMPARE(s.watcher.boxes.size(), 1);
    const ModalWatcher::Box box = s.watcher.boxes.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    const QString nativePath = QDir::toNativeSeparators(path);
    QVERIFY2(box.text.contains(nativePath), qPrintable(box.text));
    // The reason follows the file name.
    QVERIFY2(box.text.section(nativePath, 1).contains(QRegularExpression("\\w")),
            qPrintable(box.text));

    s.save();
    QCOMPARE(s.watcher.boxes.size(), 1);
    QCOMPARE(testres::readAll(path), bytes);
    QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList({ "item.res" }));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
