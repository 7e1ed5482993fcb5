// The window as a modder uses it: the tree of an opened file, the three ways to
// open a file, the add commands, what Save then writes, and its Chinese texts;
// and the forms of an object and its entries, typed into key by key.

#include "entryformarea.h"
#include "resbytes.h"
#include "resrecords.h"
#include "testwindow.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextCodec>
#include <QTranslator>
#include <QtTest>

#include <sys/stat.h>

namespace {

// In file order Weapon, Item, Pose, VipItem, Map, Pose, Item and Pose objects;
// bytes follow the last object. The first Pose has two Part1 entries, the
// second three.
testres::File sampleFile()
{
    testres::File file = testres::generateFile(3, 8, false);
    file.objects[5].objectType = 3;
    file.objects[5].id = -1;
    // "Wuqi" in GB18030 and a model name in ASCII.
    file.objects[5].strings = { testres::stored("\xce\xe4\xc6\xf7"), testres::stored("m_pose"),
        testres::stored("") };
    file.objects[5].part1.resize(3);
    file.objects[2].part1 = { { 99, 5, -7 }, { 12, 1, 2 } };
    // The first weapon has more entries than its areas show at once.
    file.objects[0].part1.resize(30);
    file.objects[0].part2.resize(12);
    file.trailing = "kept";
    return file;
}

// Opens the sample, or another file, as item.res in the active window, and
// selects its second Pose, object 5.
QString openSample(TestWindow &w, const testres::File &file = sampleFile())
{
    const QString path = w.writeFile("item.res", testres::toBytes(file));
    w.window.show();
    QApplication::setActiveWindow(&w.window);
    w.window.openFile(path);
    w.select("Pose/1");
    return path;
}

QStringList texts(QTreeWidgetItem *item, bool children)
{
    QStringList texts;
    for (int i = 0; i < (children ? item->childCount() : 3); ++i)
        texts << (children ? item->child(i)->text(0) : item->text(i));
    return texts;
}

QByteArray encoded(const char *encoding, const QString &text)
{
    return QTextCodec::codecForName(encoding)->fromUnicode(text);
}

// A file of names, each the String1 of an object, stored in that encoding.
testres::File namesFile(const char *encoding, const QStringList &names)
{
    testres::File file;
    for (const QString &name : names) {
        file.objects.append(testres::Object());
        file.objects.last().strings[0] = testres::stored(encoded(encoding, name));
    }
    return file;
}

// Names a game ships, in traditional and in simplified text.
const QStringList TraditionalNames { "閱讀", "貴賓劍", "對外開放", "屠龍寶刀", "說明書", "戰士",
    "魔法藥水", "經驗值", "龍鱗鎧甲", "寶石戒指", "長劍", "坐騎" };
const QStringList SimplifiedNames { "阅读", "贵宾剑", "对外开放", "屠龙宝刀", "说明书", "战士",
    "魔法药水", "经验值", "龙鳞铠甲", "宝石戒指", "长剑", "坐骑" };

// Of the forms built in an entry area, the one that stands last, or first, in
// reading order.
QWidget *formAtEnd(const EntryFormArea &area, bool last)
{
    const auto forms =
            area.viewport()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    const auto place = [last](QWidget *f) {
        return std::make_tuple(f->isVisible(), last ? f->y() : -f->y(), last ? f->x() : -f->x());
    };
    return *std::max_element(forms.begin(), forms.end(),
            [&](QWidget *a, QWidget *b) { return place(a) < place(b); });
}

struct Forms
{
    ResObject object = { 1, 3, { 4, "old" }, { 4, "old" }, { 4, "old" }, 0, {}, 0, {} };
    Part1SubObject entry1 = { 5, -1, 3 };
    Part2SubObject entry2 = { 2, 0, 7, 3, 0, 0, 0, 0, 0, 0 };
    UiMyPart0 part0 { nullptr, &object };
    UiMyPart1SubObject part1 { nullptr, &entry1 };
    UiMyPart2SubObject part2 { nullptr, &entry2 };
};

} // namespace

Q_DECLARE_METATYPE(testres::File)

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    // Short names, which a byte count cannot tell apart, read back as they were
    // written: simplified in GB18030, traditional in Big5 (whose trail byte may be
    // a backslash, and which may not be GB18030 at all) and in GB18030. Model names
    // are UTF-8, or else read as the other texts are.
    void tree()
    {
        TestWindow w;
        testres::File file = sampleFile();
        file.objects[6].objectType = file.objects[7].objectType = 9;
        const QByteArray names[][2] = {
            { "\xbd\xf0\xb1\xd2x100", "模型_1" },
            { "\xbe\x5c\xc5\xaa", "\xbe\x5c\xc5\xaa" },
            { "\xb9\xef\xa5\x7e\xb6\x7d\xa9\xf1", "\xc4\xa3\xd0\xcd" },
            { "\xd9\x46\xd9\x65\x84\xa6", "m" },
        };
        for (int i : { 0, 1, 3, 4 }) {
            const QByteArray *name = names[i - i / 3];
            file.objects[i].strings = { testres::stored(name[0]), testres::stored(name[1]),
                testres::stored(name[0]) };
        }
        w.open(w.writeFile("data.backup.res", testres::toBytes(file)));
        QCOMPARE(w.tree->topLevelItemCount(), 1);
        QCOMPARE(w.tree->topLevelItem(0)->text(0) + ": "
                        + (texts(w.tree->topLevelItem(0), true) + texts(w.node("Objects"), true))
                                  .join(' '),
                "data: Header Objects Weapon Pose Item Vipitem Map");
        QStringList rows;
        for (int i = 0; i < w.node("Objects")->childCount(); ++i)
            rows << QString::number(w.node("Objects")->child(i)->childCount());
        QCOMPARE(rows.join(' '), "1 2 1 1 1");
        QCOMPARE(texts(w.node("Pose/1"), false), (QStringList { "-1", "武器", "m_pose" }));
        QStringList shown;
        for (const char *row : { "Weapon/0", "Item/0", "Vipitem/0", "Map/0" })
            shown << texts(w.node(row), false).mid(1);
        QCOMPARE(shown.join(' '), "金币x100 模型_1 閱讀 閱讀 對外開放 模型 貴賓劍 m");
        w.select("Weapon/0");
        auto *form = w.form<UiMyPart0>();
        QCOMPARE(valueAt<QLineEdit>(form, 3)->text() + valueAt<QLineEdit>(form, 4)->text(),
                "模型_1金币x100");
        QCOMPARE(w.watcher.boxes.size(), 2);
        QCOMPARE(w.watcher.boxes.first().title + ": " + w.watcher.boxes.first().text,
                "Warning: Unknown ObjectType");
    }

    void openOverEdits_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("outcome");
        const int save = QMessageBox::Save, discard = QMessageBox::Discard;
        QTest::newRow("Open, Cancel") << "Open other.res" << int(QMessageBox::Cancel) << "asked";
        QTest::newRow("Open, Discard") << "Open other.res" << discard << "asked, opened";
        QTest::newRow("Open, Save") << "Open other.res" << save << "asked, saved, opened";
        QTest::newRow("Open, edit undone") << "undo Open other.res" << 0 << "opened";
        QTest::newRow("Open, dialog cancelled") << "Open" << discard << "asked";
        QTest::newRow("Open, damaged file") << "undo Open damaged.res" << 0 << "refused";
        QTest::newRow("drop, Discard") << "drop other.res" << discard << "asked, opened";
        QTest::newRow("drop, two files") << "drop item.res other.res" << 0 << "";
        QTest::newRow("close, Cancel") << "close" << int(QMessageBox::Cancel) << "asked";
        QTest::newRow("close, Save") << "close" << save << "asked, saved, closed";
        QTest::newRow("close, Save fails") << "close" << save << "asked, save fails";
        QTest::newRow("Save, then close") << "save close" << 0 << "saved, closed";
    }

    // Open, a dropped file and closing ask before they drop unsaved edits, and go
    // on only once the edits are saved or discarded; a file that cannot be opened
    // or saved leaves the open document, its tree and forms as they were.
    void openOverEdits()
    {
        QFETCH(QString, steps);
        QFETCH(int, answer);
        QFETCH(QString, outcome);
        TestWindow w;
        // ObjectCount 1, and no object.
        w.writeFile("damaged.res", testres::toBytes({}).replace(52, 1, "\x01"));
        w.writeFile("other.res", testres::toBytes({}));
        const QString path = openSample(w);
        auto *id = valueAt<QLineEdit>(w.form<UiMyPart0>(), 1);
        retype(id, "55");
        QStringList words = steps.split(' ');
        if (words.first() == "undo")
            QTest::keyClick(id, Qt::Key_Z, Qt::ControlModifier);
        if (words.first() == "save")
            w.save();
        if (words.first() == "undo" || words.first() == "save")
            words.removeFirst();
        if (answer)
            w.watcher.buttons << QMessageBox::StandardButton(answer);
        const bool saveFails = outcome.contains("fails");
        if (saveFails)
            QVERIFY(QFile::remove(path) && QDir().mkpath(path));

        QMimeData data;
        for (const QString &name : words.mid(1))
            data.setUrls(data.urls() << QUrl::fromLocalFile(w.dir.filePath(name)));
        const QString file = data.urls().value(0).toLocalFile();
        if (words.first() == "close") {
            w.window.close();
        } else if (words.first() == "drop") {
            // As from a file manager: the window gets the drop once it took the drag.
            QDragEnterEvent enter({ 9, 9 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QDropEvent drop({ 9, 9 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&w.window, &enter);
            QCoreApplication::sendEvent(&w.window, &drop);
        } else {
            w.watcher.files << file;
            w.trigger("Open");
        }

        const QString shown = w.watcher.boxes.value(0).text;
        if (outcome.contains("asked")) {
            QCOMPARE(shown, "Save the changes to " + QDir::toNativeSeparators(path) + '?');
            QCOMPARE(w.watcher.boxes.first().buttons,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            QCOMPARE(w.watcher.boxes.first().defaultButton, QMessageBox::Save);
        } else {
            QCOMPARE(shown,
                    outcome != "refused" ? QString()
                                         : "Cannot open " + QDir::toNativeSeparators(file)
                                    + ": offset 52: ObjectCount 1 needs at least 31 bytes "
                                      "of objects, but the file holds only 0 bytes after the "
                                      "header.");
        }
        QCOMPARE(w.watcher.boxes.size(), int(!shown.isNull()) + int(saveFails));
        if (saveFails) {
            const QString failure = w.watcher.boxes.last().text;
            QCOMPARE(failure.section(": ", 0, 0), "Cannot save " + QDir::toNativeSeparators(path));
            QVERIFY2(failure.section(": ", 1).size() > 3, qPrintable(failure));
            QVERIFY(QDir().rmdir(path));
            w.save();
        }
        QCOMPARE(w.window.isVisible(), !outcome.contains("closed"));
        const bool opened = outcome.contains("opened");
        QCOMPARE(w.tree->topLevelItem(0)->text(0), opened ? "other" : "item");
        QCOMPARE(w.shown<UiMyPart1SubObject>(), opened ? 0 : 3);
        if (!opened)
            QCOMPARE(w.tree->currentItem()->text(0), steps.startsWith("undo") ? "-1" : "55");
        testres::File expected = sampleFile();
        expected.objects[5].id = outcome.contains("save") ? 55 : -1;
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));
    }

    // Answered on the terminal before any window appears; a file named there
    // opens as Open opens it (openSample opens its file so). Installed, the editor
    // finds its translation relative to its executable, for a Chinese desktop only.
    void commandLine()
    {
        QTemporaryDir empty, prefix;
        QVERIFY(QDir(prefix.path()).mkpath("bin")
                && QDir(prefix.path()).mkpath("share/drovanel/translations"));
        const QString installed = prefix.filePath("bin/drovanel");
        QVERIFY(QFile::copy(DROVANEL_EXECUTABLE, installed)
                && QFile::copy(DROVANEL_QM_FILE,
                        prefix.filePath("share/drovanel/translations/drovanel_zh.qm")));
        const auto run = [&](const QString &program, const QStringList &arguments,
                                 const QString &language) {
            QProcess drovanel;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char *name : { "LANGUAGE", "LC_ALL", "LC_MESSAGES" })
                environment.remove(name);
            environment.insert("LANG", language);
            drovanel.setProcessEnvironment(environment);
            // A translation in the folder it starts from would answer in Chinese.
            drovanel.setWorkingDirectory(empty.path());
            drovanel.start(program, arguments);
            return drovanel.waitForFinished(30000) ? QString::number(drovanel.exitCode()) + ' '
                            + drovanel.readAllStandardOutput() + drovanel.readAllStandardError()
                                                   : QString();
        };
        QVERIFY(run(DROVANEL_EXECUTABLE, { "a.res", "b.res" }, "C")
                        .startsWith("1 Give at most one file."));
        QCOMPARE(run(DROVANEL_EXECUTABLE, { "--version" }, "C"), "0 drovanel 1.0\n");
        QVERIFY(run(installed, { "--help" }, "zh_CN.UTF-8").contains("游戏 RES 文件的编辑器。"));
        QVERIFY(run(installed, { "--help" }, "en_US.UTF-8")
                        .contains("Editor of the game's RES files."));
    }

    // The forms built for one object show the next object's entries and write
    // into them what the user types; showing them writes nothing.
    void formsFollowTheSelection()
    {
        TestWindow w;
        const QString path = openSample(w);
        w.select("Pose/0");
        QCOMPARE(w.shown<UiMyPart1SubObject>(), 2);
        auto *form = w.form<UiMyPart1SubObject>(0);
        QCOMPARE(valueAt<QComboBox>(form, 0)->currentText() + ' '
                        + valueAt<QLineEdit>(form, 1)->text(),
                "99 5");
        retype(valueAt(form, 2), "8");
        w.select("Pose/1");
        QCOMPARE(valueAt<QLineEdit>(form, 2)->text(),
                QString::number(sampleFile().objects[5].part1[0][2]));
        // The number of 99 went with its entry.
        const QVector<int> named { 1, 2, 8, 11, 12, 13, 14, 15, 16, 17, 18 };
        QCOMPARE(valueAt<QComboBox>(form, 0)->count(),
                11 + !named.contains(sampleFile().objects[5].part1[0][0]));

        // Another object shows its first entries, wherever the areas were.
        w.select("Weapon/0");
        for (auto *area : w.window.findChildren<EntryFormArea *>()) {
            area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
            QVERIFY(area->horizontalScrollBar()->value() > 0);
            w.select("Pose/1");
            w.select("Weapon/0");
            QCOMPARE(area->horizontalScrollBar()->value(), 0);
        }
        w.save();
        testres::File expected = sampleFile();
        expected.objects[2].part1[0][2] = 8;
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));
    }

    // Of an object with more entries than are in view, Tab reaches a far entry,
    // scrolling to it, and a form far down shows the entry in its place. A form
    // that holds the focus keeps its entry while the area scrolls away.
    void manyEntries()
    {
        TestWindow w;
        const QString path = openSample(w);
        w.select("Weapon/0");
        QScrollBar *rows = w.window.findChild<EntryFormArea *>()->verticalScrollBar();
        rows->setValue(rows->maximum());
        QWidget *lastValue1 = valueAt(formAtEnd(*w.window.findChild<EntryFormArea *>(), true), 1);
        lastValue1->setFocus();
        QTRY_VERIFY(lastValue1->hasFocus());
        retype(lastValue1, "7");
        rows->setValue(0);
        QTest::keyClick(lastValue1, '1');

        QWidget *type = valueAt(formAtEnd(*w.window.findChild<EntryFormArea *>(), false), 0);
        type->setFocus();
        QTRY_VERIFY(type->hasFocus());
        // To Value1 of entry 25.
        for (int i = 0; i < 3 * 25 + 1; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *value1 = QApplication::focusWidget();
        QVERIFY(!value1->visibleRegion().isEmpty());
        retype(value1, "42");
        QTest::keyClick(value1, Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), value1);

        w.save();
        testres::File expected = sampleFile();
        expected.objects[0].part1[25][1] = 42;
        expected.objects[0].part1[29][1] = 71;
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));
    }

    // Past the 16,777,215 pixels that Qt allows a widget, scrolling to the end
    // shows the last of 600,000 Part1 and of 70,000 Part2 entries, whole and as
    // written. Shift+Tab walks back from its last field into the entry before
    // it, and Tab on through its fields and out of the area.
    void lastEntries()
    {
        testres::File file;
        file.objects.resize(1);
        // The last field of each entry holds the entry's index, the others 0.
        for (int i = 0; i < 600000; ++i)
            file.objects[0].part1.append({ 0, 0, i });
        for (int i = 0; i < 70000; ++i)
            file.objects[0].part2.append({ 0, 0, 0, 0, 0, 0, 0, 0, 0, i });
        TestWindow w;
        openSample(w, file);
        w.select("Weapon/0");
        for (const EntryFormArea *area : w.window.findChildren<EntryFormArea *>()) {
            const int count = area->entryCount(), lastRow = count == 600000 ? 2 : 9;
            for (QScrollBar *bar : { area->horizontalScrollBar(), area->verticalScrollBar() })
                bar->setValue(bar->maximum());
            QWidget *last = valueAt(formAtEnd(*area, true), lastRow);
            QCOMPARE(last->property("text").toString(), QString::number(count - 1));
            QCOMPARE(last->visibleRegion().boundingRect(), last->rect());
            last->setFocus();
            QTRY_VERIFY(last->hasFocus());
            for (int i = 0; i <= lastRow; ++i)
                QTest::keyClick(qApp->focusWidget(), Qt::Key_Backtab);
            QCOMPARE(qApp->focusWidget()->property("text").toString(), QString::number(count - 2));
            QCOMPARE(qApp->focusWidget()->visibleRegion().boundingRect(),
                    qApp->focusWidget()->rect());
            for (int i = 0; i <= lastRow + 1; ++i)
                QTest::keyClick(qApp->focusWidget(), Qt::Key_Tab);
            QVERIFY(qApp->focusWidget() && !area->isAncestorOf(qApp->focusWidget()));
        }
    }

    // However many entries a table counts, scrolling to the end shows the last
    // one, though its place in pixels would pass an int: 2,147,483,647 line edits
    // three to a row, each showing its entry's index.
    void farthestEntry()
    {
        EntryFormArea area(
                3, [](QWidget *parent) { return new QLineEdit(parent); },
                [](QWidget *form, int entry) { form->setProperty("text", entry); });
        area.show();
        area.showEntries(std::numeric_limits<int>::max(), true);
        area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum());
        QCOMPARE(formAtEnd(area, true)->property("text").toInt(),
                std::numeric_limits<int>::max() - 1);
    }

    void leavingAField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QString>("shown");
        // Pose/1 has three Part1 entries and no room for a fourth: an entry added
        // moves its table.
        const QString value1 = QString::number(sampleFile().objects[5].part1[0][1]);
        const QString id = "EntryTypeTypeID", part1 = "AddSubObjectInPart1",
                      part2 = "AddSubObjectInPart2";
        QTest::newRow("emptied identifier") << id << ""
                                            << "focus"
                                            << "-1";
        QTest::newRow("007") << id << "007"
                             << "focus"
                             << "7";
        QTest::newRow("- alone") << id << "-"
                                 << "focus"
                                 << "0";
        QTest::newRow("emptied identifier, entry added") << id << "" << part1 << "-1";
        QTest::newRow("007, entry added") << id << "007" << part2 << "7";
        QTest::newRow("emptied Value1, Part1 entry added") << "Value1"
                                                           << "" << part1 << value1;
        QTest::newRow("emptied Value1, Part2 entry added") << "Value1"
                                                           << "" << part2 << value1;
    }

    // Once the user leaves a number field, by moving the focus or by adding an
    // entry (which moves the table the forms show), the field and the tree row
    // show what Save writes, and no form writes into a table that moved. The
    // object's strings show in their columns as they are typed.
    void leavingAField()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, leave);
        QFETCH(QString, shown);
        TestWindow w;
        const QString path = openSample(w);
        const bool id = field == "EntryTypeTypeID";
        // The object's form is built anew when an entry is added.
        const auto edit = [&] {
            QWidget *form =
                    id ? static_cast<QWidget *>(w.form<UiMyPart0>()) : w.form<UiMyPart1SubObject>();
            return valueAt<QLineEdit>(form, 1);
        };
        const auto moveFocus = [&](bool intoField) {
            (intoField ? edit() : valueAt(w.form<UiMyPart0>(), 4))->setFocus();
            QTRY_COMPARE(edit()->hasFocus(), intoField);
        };
        retype(valueAt(w.form<UiMyPart0>(), 3), "m_sword");
        retype(valueAt(w.form<UiMyPart0>(), 2), "剑");
        moveFocus(true);
        retype(edit(), typed);
        if (id)
            QCOMPARE(w.node("Pose/1")->text(0), typed);
        leave == "focus" ? moveFocus(false) : w.trigger(leave);
        QCOMPARE(edit()->text(), shown);
        moveFocus(true);
        moveFocus(false);
        QCOMPARE(edit()->text(), shown);
        QCOMPARE(texts(w.node("Pose/1"), false),
                (QStringList { id ? shown : "-1", "剑", "m_sword" }));

        w.save();
        testres::File expected = sampleFile();
        expected.objects[5].id = id ? shown.toInt() : -1;
        expected.objects[5].strings[0] = testres::stored("\xbd\xa3");
        expected.objects[5].strings[1] = testres::stored("m_sword");
        if (leave.endsWith('1'))
            expected.objects[5].part1.append({ 12, 0, 0 });
        if (leave.endsWith('2'))
            expected.objects[5].part2.append({ 2, 0, 1, 0, 0, 0, 0, 0, 0, 0 });
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));
    }

    // The add commands need a type folder or an object row current; else they
    // say so. New entries go at the end of their table, their forms last; a new
    // object goes last in its folder and after the loaded objects in the file.
    void addCommands()
    {
        TestWindow w;
        const QString path = openSample(w);
        for (const QString &step : QString("Pose/1 AddNewObject Objects AddNewObject Map "
                                           "AddSubObjectInPart1 item AddSubObjectInPart2 Pose/1 "
                                           "AddSubObjectInPart1 =42 AddSubObjectInPart2 "
                                           "AddSubObjectInPart2 Pose AddNewObject AddNewObject "
                                           "Weapon AddNewObject Item AddNewObject Vipitem "
                                           "AddNewObject Map AddNewObject")
                                           .split(' ')) {
            // "=42" types 42 into Value1 of the new Part1 entry.
            if (step.startsWith('='))
                retype(valueAt(w.form<UiMyPart1SubObject>(3), 1), step.mid(1));
            else
                step.startsWith("Add") ? w.trigger(step) : w.select(step);
        }
        QCOMPARE(texts(w.node("Pose/3"), false), (QStringList { "-1", "", "" }));
        const QString type = "Please select object type inside the tree, and try again.";
        const QString object = "Please select object ID inside the tree, and try again.";
        QStringList shown;
        for (const ModalWatcher::Box &box : qAsConst(w.watcher.boxes))
            shown << box.text;
        QCOMPARE(shown, (QStringList { type, type, object, object, type }));

        w.save();
        testres::File expected = sampleFile();
        expected.objects[5].part1.append({ 12, 42, 0 });
        const testres::Entry2 entry = { 2, 0, 1, 0, 0, 0, 0, 0, 0, 0 };
        expected.objects[5].part2 << entry << entry;
        // Pose, Weapon, Item, VipItem, Map.
        for (qint32 type : { 3, 1, 2, 4, 5 }) {
            expected.objects.append(testres::Object());
            expected.objects.last().objectType = type;
            expected.objects.last().id = -1;
        }
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));

        // A file whose 16-bit count is full takes no more objects.
        testres::File full;
        full.objects.resize(32767);
        w.window.openFile(w.writeFile("full.res", testres::toBytes(full)));
        w.select("Weapon");
        w.trigger("AddNewObject");
        QVERIFY(w.watcher.boxes.last().text.contains("32767"));
        QCOMPARE(w.node("Weapon")->childCount(), 32767);
    }

    // lupdate brings a copy of the .ts in step with the code: a text the .ts lacks
    // comes back unfinished. A translation keeps the placeholders and the menu
    // mnemonic of its source.
    void everyTextTranslated()
    {
        QTemporaryDir dir;
        const QString ts = dir.filePath("drovanel_zh.ts"), sources = DROVANEL_SOURCE_DIR;
        QVERIFY(QFile::copy(DROVANEL_TS_FILE, ts));
        QCOMPARE(QProcess::execute(DROVANEL_LUPDATE,
                         { "-silent", sources + "/document", sources + "/editors", sources + "/app",
                                 sources + "/cli", "-ts", ts }),
                0);
        const auto marks = [](const QString &text) {
            QStringList found { QString::number(text.count("&amp;")) };
            for (auto it = QRegularExpression("%\\d").globalMatch(text); it.hasNext();)
                found << it.next().captured();
            found.sort();
            return found;
        };
        const QRegularExpression message(
                R"(<source>(.*?)</source>\s*<translation( type=)?[^>]*>(.*?)</translation>)",
                QRegularExpression::DotMatchesEverythingOption);
        QStringList faults;
        int count = 0;
        for (auto it = message.globalMatch(QString::fromUtf8(testres::readAll(ts))); it.hasNext();
                ++count) {
            const QRegularExpressionMatch match = it.next();
            if (match.capturedLength(2) || !match.capturedLength(3)
                    || marks(match.captured(3)) != marks(match.captured(1)))
                faults << match.captured(1);
        }
        QVERIFY2(faults.isEmpty() && count > 80, qPrintable(faults.join(" | ")));
        // The compiled translation holds ours and, where Qt ships it, Qt's own texts.
        QTranslator translator;
        QVERIFY(translator.load(DROVANEL_QM_FILE));
        QCOMPARE(translator.translate("Drovanel", "&CurrentObject"), "当前对象(&C)");
        QCOMPARE(translator.translate("QPlatformTheme", "OK").isEmpty(), !DROVANEL_QT_TEXTS_MERGED);
    }

    // Each number field of the three forms writes its own member, and only that;
    // each is typed a case of the rule that they share.
    void everyNumberField()
    {
        Forms forms;
        const QPair<QWidget *, QVector<int>> rows[] = {
            { &forms.part0, { 1 } },
            { &forms.part1, { 1, 2 } },
            { &forms.part2, { 0, 1, 3, 4, 5, 6, 7, 8, 9 } },
        };
        // Letters and a minus sign inside are dropped, full-width digits of an
        // input method read as digits, and a digit that would leave int32 is refused.
        QStringList typed { "1x2a", "-4-5", "2147483647", "-2147483648", "99999999999", "１３",
            "45-", "7", "8", "0", "-1", "100" };
        const QStringList shown { "12", "-45", "2147483647", "-2147483648", "999999999", "13", "45",
            "7", "8", "0", "-1", "100" };
        for (const auto &form : rows) {
            for (int row : form.second) {
                auto *edit = valueAt<QLineEdit>(form.first, row);
                retype(edit, typed.takeFirst());
                QCOMPARE(edit->text(), shown.at(shown.size() - 1 - typed.size()));
            }
        }
        const auto fields = [](const auto &record) {
            const auto *first = reinterpret_cast<const qint32 *>(&record);
            return QVector<qint32>(first, first + sizeof record / sizeof(qint32));
        };
        QCOMPARE(forms.object.EntryTypeTypeID, 12);
        QCOMPARE(fields(forms.entry1), (QVector<qint32> { 5, -45, 2147483647 }));
        QCOMPARE(fields(forms.entry2),
                (QVector<qint32> { -2147483647 - 1, 999999999, 7, 13, 45, 7, 8, 0, -1, 100 }));
    }

    // Typing inside a field leaves the cursor where the typing put it and keeps the
    // undo history; the record follows what the field shows.
    void typingInsideAField()
    {
        Forms forms;
        auto *id = valueAt<QLineEdit>(&forms.part0, 1);
        auto *description = valueAt<QLineEdit>(&forms.part0, 2);
        retype(id, "4711");
        retype(description, "武器0");
        id->setCursorPosition(2);
        description->setCursorPosition(1);
        QTest::keyClicks(id, "0x2");
        QTest::keyClicks(description, "XY");
        QCOMPARE((QStringList { id->text(), description->text() }),
                (QStringList { "470211", "武XY器0" }));
        QCOMPARE(id->cursorPosition(), 4);
        QCOMPARE(forms.object.EntryTypeTypeID, 470211);
        QCOMPARE(QByteArray(forms.object.String1.Text),
                QByteArray("\xce\xe4XY\xc6\xf7"
                           "0"));
        QTest::keyClick(id, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(id->text(), "4711");
        QCOMPARE(forms.object.EntryTypeTypeID, 4711);
        // What an input method inserts keeps its digits, the cursor behind them.
        id->setCursorPosition(2);
        QInputMethodEvent commit;
        commit.setCommitString("x9y");
        QCoreApplication::sendEvent(id, &commit);
        QCOMPARE(id->text() + ' ' + QString::number(id->cursorPosition()), "47911 3");
        QCOMPARE(forms.object.EntryTypeTypeID, 47911);
    }

    // A value without a name shows its number, and is kept until a name is
    // chosen; the number can be chosen again. The wheel over a box without the
    // focus is left to the form around it.
    void namedValues()
    {
        Forms forms;
        auto *type = valueAt<QComboBox>(&forms.part1, 0);
        auto *effect = valueAt<QComboBox>(&forms.part2, 2);
        QWheelEvent wheel({ 5, 5 }, { 5, 5 }, {}, { 0, -120 }, Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(type, &wheel);
        QVERIFY(!wheel.isAccepted());
        QCOMPARE(type->currentText() + ' ' + effect->currentText(), "5 7");
        QCOMPARE(QPoint(forms.entry1.Type, forms.entry2.effectType), QPoint(5, 7));
        type->setCurrentText("Lianhua");
        effect->setCurrentText("hide");
        QCOMPARE(QPoint(forms.entry1.Type, forms.entry2.effectType), QPoint(17, 10));
        type->setCurrentText("ContinuedInfoMain");
        effect->setCurrentText("7");
        QCOMPARE(QPoint(forms.entry1.Type, forms.entry2.effectType), QPoint(1, 7));
        type->setCurrentText("5");
        QCOMPARE(forms.entry1.Type, 5);
        // The number stands among the names in the order of the values.
        QCOMPARE(type->itemText(2) + ' ' + effect->itemText(6), "5 7");
        QCOMPARE(type->count() + effect->count(), 12 + 8);
    }

    void textTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("stored");
        const QString a = QString(253, 'a'), b = QString(254, 'b'), c = QString(250, 'c');
        // U+1F600 takes four bytes in GB18030 and two UTF-16 units.
        const QString smiley = QString::fromUcs4(U"\U0001F600");
        QTest::newRow("Chinese is stored as GB18030")
                << QString("武器1") << QString("武器1") << QByteArray("\xce\xe4\xc6\xf7\x31");
        QTest::newRow("an emptied field stores the empty string") << ""
                                                                  << "" << QByteArray();
        QTest::newRow("253 bytes fill the slot") << a << a << a.toLatin1();
        QTest::newRow("the 254th byte is not stored") << b << b.left(253) << b.left(253).toLatin1();
        QTest::newRow("a character that does not fit is not split")
                << c + smiley << c << c.toLatin1();
    }

    void textTyping()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QByteArray, stored);
        Forms forms;
        for (const ResString *string :
                { &forms.object.String1, &forms.object.String2, &forms.object.String3 }) {
            const int row = 2 + int(string - &forms.object.String1);
            retype(valueAt(&forms.part0, row), typed);
            QCOMPARE(valueAt<QLineEdit>(&forms.part0, row)->text(), shown);
            QCOMPARE(QByteArray(string->Text, string->Length), stored + '\0');
        }
    }

    void namesReadAsWritten_data()
    {
        QTest::addColumn<testres::File>("file");
        QTest::addColumn<QString>("shown");
        // Alone in its file. Each character of the wrong reading is about as
        // common as those of the right one; only the words tell them apart.
        for (const auto &[encoding, name] : { std::pair { "Big5", "廓落" },
                     std::pair { "Big5", "遴選+1" }, std::pair { "GB18030", "跑掉" } })
            QTest::addRow("%s, a word alone", name) << namesFile(encoding, { name }) << name;
        // The bytes b1 f6 read as 宾 in GB18030 and as 梅 in Big5: the file's other
        // names decide.
        const QByteArray ambiguous = testres::stored("\xb1\xf6");
        testres::File big5 = namesFile("Big5", TraditionalNames);
        big5.objects.first().strings[0] = ambiguous;
        testres::File gb18030 = namesFile("GB18030", SimplifiedNames);
        gb18030.objects.first().strings[0] = ambiguous;
        QTest::newRow("b1 f6 in a Big5 file") << big5 << "梅";
        QTest::newRow("b1 f6 in a GB18030 file") << gb18030 << "宾";
    }

    // The tree and the form show the name of the first weapon as written.
    void namesReadAsWritten()
    {
        QFETCH(testres::File, file);
        QFETCH(QString, shown);
        TestWindow w;
        w.open(w.writeFile("names.res", testres::toBytes(file)));
        w.select("Weapon/0");
        QCOMPARE(w.node("Weapon/0")->text(1), shown);
        QCOMPARE(valueAt<QLineEdit>(w.form<UiMyPart0>(), 2)->text(), shown);
    }

    // What a modder types is stored as GB18030 and reads back as typed after the
    // file is opened again: a name of one character in a GB18030 file, a Chinese
    // model name (whose GB18030 bytes may be valid UTF-8 of other letters), and a
    // name typed into a Big5 file, whose own names still read as Big5.
    void typedNamesReadBack_data()
    {
        QTest::addColumn<testres::File>("file");
        QTest::addColumn<QStringList>("typed");
        QTest::newRow("GB18030 file")
                << namesFile("GB18030", SimplifiedNames) << QStringList { "宾", "x模y图", "蹈" };
        QTest::newRow("Big5 file") << namesFile("Big5", TraditionalNames)
                                   << QStringList { "屠龙宝刀·改", "模型_试", "补给" };
    }

    void typedNamesReadBack()
    {
        QFETCH(testres::File, file);
        QFETCH(QStringList, typed);
        TestWindow w;
        const QString path = w.writeFile("typed.res", testres::toBytes(file));
        w.open(path);
        w.select("Weapon/1");
        for (int field = 0; field < 3; ++field)
            retype(valueAt(w.form<UiMyPart0>(), 2 + field), typed.at(field));
        w.save();
        testres::File expected = file;
        for (int field = 0; field < 3; ++field)
            expected.objects[1].strings[field] =
                    testres::stored(encoded("GB18030", typed.at(field)));
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));

        w.open(path);
        w.select("Weapon/1");
        QStringList shown;
        for (int field = 0; field < 3; ++field)
            shown << valueAt<QLineEdit>(w.form<UiMyPart0>(), 2 + field)->text();
        QCOMPARE(shown, typed);
        QCOMPARE(texts(w.node("Weapon/1"), false).mid(1), typed.mid(0, 2));
        QCOMPARE(w.node("Weapon/0")->text(1),
                file.objects[0].strings[0]
                                == testres::stored(encoded("Big5", TraditionalNames.first()))
                        ? TraditionalNames.first()
                        : SimplifiedNames.first());
    }

    // A text typed and then undone gets back its bytes, Big5 and all: the file
    // has no unsaved edits, and Save writes it as it was.
    void undoneTextKeepsItsBytes()
    {
        testres::File file = namesFile("Big5", TraditionalNames);
        file.objects[2].strings[2] = testres::stored("\xbb\xa1\xa9\xfa\x32");
        TestWindow w;
        const QString path = w.writeFile("undo.res", testres::toBytes(file));
        w.open(path);
        w.select("Weapon/2");
        auto *string3 = valueAt<QLineEdit>(w.form<UiMyPart0>(), 4);
        QCOMPARE(string3->text(), "說明2");
        string3->setFocus();
        QTest::keyClick(string3, Qt::Key_End);
        QTest::keyClicks(string3, "XY");
        QCOMPARE(string3->text(), "說明2XY");
        QTest::keyClick(string3, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(string3, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(string3->text(), "說明2");
        w.window.close();
        QVERIFY(w.watcher.boxes.isEmpty());
        w.save();
        QCOMPARE(testres::readAll(path), testres::toBytes(file));
    }

    void savingOverAChangedFile_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::newRow("changed, Cancel") << "other bytes" << int(QMessageBox::Cancel) << true;
        QTest::newRow("changed, Overwrite") << "other bytes" << int(QMessageBox::Save) << true;
        QTest::newRow("rewritten with the same bytes") << "same bytes" << 0 << false;
        QTest::newRow("deleted") << "deleted" << 0 << false;
    }

    // Save asks before it overwrites a file that another program changed since
    // it was opened; Cancel keeps the file and the edits, and a file deleted
    // since is written again without a question.
    void savingOverAChangedFile()
    {
        QFETCH(QString, change);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        TestWindow w;
        const QString path = openSample(w);
        retype(valueAt(w.form<UiMyPart0>(), 1), "55");
        testres::File outside = sampleFile();
        outside.trailing = "changed outside";
        const QByteArray onDisk = change == "other bytes" ? testres::toBytes(outside)
                                                          : testres::toBytes(sampleFile());
        QVERIFY(change == "deleted" ? QFile::remove(path) : testres::writeFile(path, onDisk));
        if (answer)
            w.watcher.buttons << QMessageBox::StandardButton(answer);
        w.save();

        QStringList shown;
        for (const ModalWatcher::Box &box : qAsConst(w.watcher.boxes))
            shown << box.text;
        QCOMPARE(shown,
                asked ? QStringList { QDir::toNativeSeparators(path)
                        + " has changed on disk since it was opened or last saved. "
                          "Overwrite it with the open document?" }
                      : QStringList());
        testres::File expected = sampleFile();
        expected.objects[5].id = 55;
        const bool cancelled = answer == QMessageBox::Cancel;
        QCOMPARE(testres::readAll(path), cancelled ? onDisk : testres::toBytes(expected));
        // Cancelled, the edits stay open and unsaved.
        w.watcher.buttons << QMessageBox::Discard;
        w.window.close();
        QCOMPARE(w.watcher.boxes.size(), int(asked) + int(cancelled));
    }

    // Opening a pipe would wait for a writer that may never come: it is refused,
    // as a device is, and the window goes on.
    void openingAPipe()
    {
        TestWindow w;
        const QString path = w.dir.filePath("pipe.res");
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        w.open(path);
        QCOMPARE(w.watcher.boxes.value(0).text,
                "Cannot open " + QDir::toNativeSeparators(path) + ": it is not a regular file.");
        QCOMPARE(w.tree->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
