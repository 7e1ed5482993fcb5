// The window as a modder uses it: a script of what a user does, with what the
// window shows after each step compared with a golden file, in English and in
// Chinese, and what Save wrote compared with the test's own bytes; the forms of
// an object with many entries, walked with Tab; typing inside a field; and the
// translation kept in step with the code.

#include "entryformarea.h"
#include "golden.h"
#include "resbytes.h"
#include "testwindow.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"
#include "windowtext.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMetaEnum>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextCodec>
#include <QTranslator>
#include <QtTest>

#include <sys/stat.h>

namespace {

using testres::texts;

// Every type in its folder, and one of no folder; GB18030, Big5 and UTF-8
// texts, and a model name that ends inside a character, which shows so;
// every named value and unnamed ones, four Part1 entries (a second row of
// forms) and two Part2 entries; empty tables.
testres::File sampleFile()
{
    testres::File file;
    file.head.fill('h');
    file.objects = {
        { 1, 1001, texts("\xcd\xc0\xc1\xfa\xb5\xb6", "m_sword", "\xce\xe4\xc6\xf7"),
                { { 12, 5, -7 }, { 99, 1, 2 }, { 17, 0, 100 }, { 8, 3, 4 } },
                { { 2, 0, 1, 3, 0, 0, 0, 0, 0, -10 }, { 0, 0, 42, 0, 0, 0, 0, 0, 0, 0 } } },
        { 2, 2002, texts("\xbe\x5c\xc5\xaa", "\xe6\xa8\xa1\xe5\x9e\x8b"),
                { { 1, -2147483647 - 1, 7 }, { 2, 0, 0 }, { 11, 0, 0 } },
                { { 0, 0, 2, 0, 0, 0, 0, 0, 0, 0 }, { 0, 0, 3, 0, 0, 0, 0, 0, 0, 0 } } },
        { 3, -1 },
        { 4, 4004, texts("\xb6\x51\xbb\xab\xbc\x43", "\xa6\x61\xb9\xcf"), {},
                { { 1, 2, 10, 4, 5, 6, 7, 8, 9, 10 } } },
        { 5, 5005, texts("\xb5\xd8\xcd\xbc", "m\xe4"), {}, { { 0, 0, 6, 0, 0, 0, 0, 0, 0, 0 } } },
        { 9, 7, texts("x") },
        { 3, 6006, texts("pose", "m_pose"), { { 13, 0, 0 }, { 14, 0, 0 }, { 18, 0, 0 } },
                { { 0, 0, 4, 0, 0, 0, 0, 0, 0, 0 }, { 0, 0, 5, 0, 0, 0, 0, 0, 0, 0 } } },
    };
    file.trailing = "kept";
    return file;
}

// What the user does, a step a line, its actions separated by ";". "type
// Part1.2.1 x" types x into the field of row 1 of the third Part1 form ("form"
// is the object's form); "answer Save" answers the next box; "block" puts a
// folder where the file is, so that Save fails, and "unblock" removes it.
QStringList script()
{
    return {
        "Save; AddNewObject; AddSubObjectInPart2; open",
        "open item.backup.res",
        "expand item",
        "select Header",
        "select Weapon",
        "select Weapon/0",
        "list Part1.1.0",
        "list Part2.1.2",
        "select Item/0",
        "select Pose/0",
        "select Vipitem/0",
        "select Map/0",
        "select Pose/1",
        // A character of four GB18030 bytes that does not fit is not split.
        "select Weapon/0; type form.1 007; type form.3 m_铁; type form.4 "
                + QString(125, QChar(0x94c1)) + "x" + QString::fromUcs4(U"\U0001F600")
                + "; type form.2 " + QString(127, QChar(0x94c1)),
        "choose Part1.0.0 Lianhua; type Part1.0.1 1x2a; type Part1.0.2 -4-5; type Part1.1.1 "
        "2147483647; type Part1.1.2 -2147483648; type Part1.2.1 99999999999; type Part1.2.2 １３; "
        "choose Part1.3.0 EFAfterGet",
        "type Part2.0.0 -; type Part2.0.1 45-; choose Part2.0.2 hide; type Part2.0.3 7; type "
        "Part2.0.4 8; type Part2.0.5 0; type Part2.0.6 -1; type Part2.0.7 100; type Part2.0.8 "
        "101; type Part2.0.9 102; choose Part2.1.2 MaxHp",
        "select Item/0; select Weapon/0",
        "choose Part1.1.0 GetItemWhenAction; list Part1.1.0",
        "select Item/0; select Weapon/0",
        "select Header; AddNewObject",
        "AddSubObjectInPart1",
        "select Pose; AddNewObject; select Weapon; AddNewObject; select Item; AddNewObject; "
        "select Vipitem; AddNewObject; select Map; AddNewObject",
        "expand item; select Map/1; type form.1 ; AddSubObjectInPart1; type Part1.0.1 42; "
        "AddSubObjectInPart2; AddSubObjectInPart2",
        "Save",
        "open damaged.res",
        "type form.1 55; undo; drop item.backup.res other.res",
        "type form.1 56; answer Cancel; close",
        "answer Cancel; drop other.res",
        "answer Cancel; open other.res",
        "block; answer Save; close",
        "unblock; answer Save; drop other.res",
        "open item.backup.res; select Map/1; type form.1 57; answer Discard; open full.res; "
        "select Pose; AddNewObject",
        "close",
    };
}

// The sample as the script leaves it.
testres::File scriptedFile()
{
    testres::File file = sampleFile();
    testres::Object &weapon = file.objects[0];
    weapon.id = 7;
    weapon.strings = texts(QByteArray("\xcc\xfa").repeated(126), "m_\xcc\xfa",
            QByteArray("\xcc\xfa").repeated(125) + "x");
    weapon.part1 = { { 17, 12, -45 }, { 16, 2147483647, -2147483647 - 1 }, { 17, 999999999, 13 },
        { 15, 3, 4 } };
    weapon.part2[0] = { 0, 45, 10, 7, 8, 0, -1, 100, 101, 102 };
    weapon.part2[1][2] = 1;
    for (qint32 type : { 3, 1, 2, 4, 5 })
        file.objects.append(testres::Object(type, -1));
    testres::Object &map = file.objects.last();
    map.id = 56;
    map.part1 = { { 12, 42, 0 } };
    map.part2 = { { 2, 0, 1, 0, 0, 0, 0, 0, 0, 0 }, { 2, 0, 1, 0, 0, 0, 0, 0, 0, 0 } };
    return file;
}

// A field by its name in the script.
QWidget *field(TestWindow &w, const QString &name)
{
    const QStringList parts = name.split('.');
    const int i = parts.value(1).toInt();
    QWidget *form = parts.first() == "form" ? static_cast<QWidget *>(w.form<UiMyPart0>())
            : parts.first() == "Part1"      ? static_cast<QWidget *>(w.form<UiMyPart1SubObject>(i))
                                            : w.form<UiMyPart2SubObject>(i);
    return valueAt(form, parts.last().toInt());
}

void act(TestWindow &w, const QString &action)
{
    const QString verb = action.section(' ', 0, 0), target = action.section(' ', 1, 1);
    const QString text = action.section(' ', 2), path = w.dir.filePath("item.backup.res");
    if (verb == "open") {
        // The name is for the file dialog, if the window shows one; none cancels it.
        w.open(target.isEmpty() ? QString() : w.dir.filePath(target));
        w.watcher.files.clear();
    } else if (verb == "answer") {
        w.watcher.buttons << QMessageBox::StandardButton(
                QMetaEnum::fromType<QMessageBox::StandardButtons>().keyToValue(qPrintable(target)));
    } else if (verb == "select" || verb == "expand") {
        w.select(target);
        if (verb == "expand")
            QTest::keyClick(w.tree, Qt::Key_Asterisk);
    } else if (verb == "type") {
        QWidget *edit = field(w, target);
        // A box or dialog may have left the window inactive.
        QApplication::setActiveWindow(&w.window);
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        retype(edit, text);
    } else if (verb == "choose" || verb == "list") {
        auto *box = static_cast<QComboBox *>(field(w, target));
        const char *context = box->parentWidget()->metaObject()->className();
        verb == "list"
                ? box->showPopup()
                : box->setCurrentText(QCoreApplication::translate(context, qPrintable(text)));
    } else if (verb == "undo") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    } else if (verb == "drop") {
        // As from a file manager: the window gets the drop once it took the drag.
        QMimeData data;
        for (const QString &name : action.split(' ').mid(1))
            data.setUrls(data.urls() << QUrl::fromLocalFile(w.dir.filePath(name)));
        QDragEnterEvent enter({ 9, 9 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop({ 9, 9 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w.window, &enter);
        if (enter.isAccepted())
            QCoreApplication::sendEvent(&w.window, &drop);
    } else if (verb == "close") {
        w.window.close();
    } else if (verb == "block") {
        QVERIFY(QFile::remove(path) && QDir().mkdir(path));
    } else if (verb == "unblock") {
        QDir().rmdir(path);
    } else {
        w.trigger(verb);
    }
}

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

// Opens the file as name in the active window.
QString openFile(TestWindow &w, const QString &name, const testres::File &file)
{
    const QString path = w.writeFile(name, testres::toBytes(file));
    w.window.show();
    w.window.openFile(path);
    QApplication::setActiveWindow(&w.window);
    return path;
}

QByteArray encoded(const char *encoding, const QString &text)
{
    return QTextCodec::codecForName(encoding)->fromUnicode(text);
}

// A file of names, each the String1 of a weapon, stored in that encoding.
testres::File namesFile(const char *encoding, const QStringList &names)
{
    testres::File file;
    for (const QString &name : names)
        file.objects.append(testres::Object(1, 0, texts(encoded(encoding, name))));
    return file;
}

// Names a game ships, in traditional and in simplified text.
const QStringList TraditionalNames { "閱讀", "貴賓劍", "對外開放", "屠龍寶刀", "說明書", "戰士",
    "魔法藥水", "經驗值", "龍鱗鎧甲", "寶石戒指", "長劍", "坐騎" };
const QStringList SimplifiedNames { "阅读", "贵宾剑", "对外开放", "屠龙宝刀", "说明书", "战士",
    "魔法药水", "经验值", "龙鳞铠甲", "宝石戒指", "长剑", "坐骑" };

} // namespace

Q_DECLARE_METATYPE(testres::File)

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void script_data()
    {
        QTest::addColumn<QString>("translation");
        QTest::newRow("en") << QString();
        QTest::newRow("zh") << QString(DROVANEL_QM_FILE);
    }

    // After each step, what the window shows; then what Save wrote. Qt's own
    // texts, which a Chinese Qt may or may not translate, are left out of the
    // Chinese script: the reason a save failed.
    void script()
    {
        QFETCH(QString, translation);
        QTranslator translator;
        QVERIFY(translation.isEmpty()
                || (translator.load(translation)
                        && QCoreApplication::installTranslator(&translator)));
        TestWindow w;
        w.writeFile("item.backup.res", testres::toBytes(sampleFile()));
        // ObjectCount 1, and no object.
        w.writeFile("damaged.res", testres::toBytes({}).replace(52, 1, "\x01"));
        w.writeFile("other.res", testres::toBytes({}));
        testres::File full;
        full.objects.resize(32767);
        w.writeFile("full.res", testres::toBytes(full));
        w.window.show();

        QByteArray shown;
        for (const QString &step : ::script()) {
            if (!translation.isEmpty() && step.startsWith("block"))
                continue;
            for (const QString &action : step.split("; "))
                act(w, action);
            // A form added to a shown window shows once the events posted for it are handled.
            QCoreApplication::processEvents();
            shown += "== " + step.toUtf8() + '\n'
                    + describeWindow(w.window, w.watcher)
                              .replace(QDir::toNativeSeparators(w.dir.path()), "<folder>")
                              .toUtf8();
            w.watcher.boxes.clear();
            w.watcher.dialogs.clear();
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
        }
        const QString mismatch = golden::mismatch(
                QStringLiteral("window-%1.txt").arg(QTest::currentDataTag()), shown);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        QCOMPARE(testres::readAll(w.dir.filePath("item.backup.res")),
                testres::toBytes(scriptedFile()));
    }

    // Of an object with more entries than are in view, Tab reaches a far entry,
    // scrolling to it, and a form far down shows the entry in its place. A form
    // that holds the focus keeps its entry while the area scrolls away. Another
    // object shows its first entries, wherever the areas were.
    void manyEntries()
    {
        // Two weapons with more entries than their areas show at once.
        testres::File file;
        const testres::Object many(
                1, 1, texts({}), QVector<testres::Entry1>(30), QVector<testres::Entry2>(12));
        file.objects = { many, many };
        TestWindow w;
        const QString path = w.writeFile("many.res", testres::toBytes(file));
        w.window.show();
        w.window.openFile(path);
        QApplication::setActiveWindow(&w.window);
        w.select("Weapon/0");
        // The form shown first or last of those in view.
        const auto shownForm = [&w](bool last) {
            QMap<QPair<int, int>, QWidget *> forms;
            for (QWidget *form : w.window.findChildren<UiMyPart1SubObject *>()) {
                if (form->isVisible())
                    forms.insert({ form->y(), form->x() }, form);
            }
            return last ? forms.last() : forms.first();
        };
        QScrollBar *rows = w.window.findChild<EntryFormArea *>()->verticalScrollBar();
        rows->setValue(rows->maximum());
        QWidget *lastValue1 = valueAt(shownForm(true), 1);
        lastValue1->setFocus();
        QTRY_VERIFY(lastValue1->hasFocus());
        retype(lastValue1, "7");
        rows->setValue(0);
        QTest::keyClick(lastValue1, '1');

        QWidget *type = valueAt(shownForm(false), 0);
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
        // Before the first entry, Shift+Tab leaves the area.
        rows->setValue(0);
        QWidget *first = valueAt(shownForm(false), 0);
        first->setFocus();
        QTRY_VERIFY(first->hasFocus());
        QTest::keyClick(first, Qt::Key_Backtab);
        QVERIFY(!w.window.findChild<EntryFormArea *>()->isAncestorOf(QApplication::focusWidget()));

        for (auto *area : w.window.findChildren<EntryFormArea *>()) {
            QScrollBar *bar = area->verticalScrollBar()->maximum() > 0
                    ? area->verticalScrollBar()
                    : area->horizontalScrollBar();
            bar->setValue(bar->maximum());
            QVERIFY(bar->value() > 0);
            w.select("Weapon/1");
            w.select("Weapon/0");
            QCOMPARE(bar->value(), 0);
        }
        w.save();
        file.objects[0].part1[25][1] = 42;
        file.objects[0].part1[29][1] = 71;
        QCOMPARE(testres::readAll(path), testres::toBytes(file));
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
        openFile(w, "many.res", file);
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

    // Typing inside a field leaves the cursor where the typing put it, also where
    // the text is cut to fit, and keeps the undo history; what an input method
    // inserts keeps its digits, the cursor behind them. The wheel over a list
    // without the focus is left to the form around it.
    void typingInsideAField()
    {
        ResObject object = { 1, 3, { 4, "old" }, { 4, "old" }, { 4, "old" }, 0, {}, 0, {} };
        Part1SubObject entry = { 5, -1, 3 };
        UiMyPart0 form(nullptr, &object);
        UiMyPart1SubObject entryForm(nullptr, &entry);
        auto *id = valueAt<QLineEdit>(&form, 1);
        auto *description = valueAt<QLineEdit>(&form, 2);
        retype(id, "4711");
        // A full text: what is typed inside it cuts its end.
        retype(description, "武" + QString(251, 'a'));
        id->setCursorPosition(2);
        description->setCursorPosition(1);
        QTest::keyClicks(id, "0x2");
        QTest::keyClicks(description, "XY");
        QCOMPARE((QStringList { id->text(), description->text() }),
                (QStringList { "470211", "武XY" + QString(249, 'a') }));
        QCOMPARE(QPoint(id->cursorPosition(), description->cursorPosition()), QPoint(4, 3));
        QTest::keyClick(id, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(id->text(), "4711");
        QCOMPARE(object.EntryTypeTypeID, 4711);
        id->setCursorPosition(2);
        QInputMethodEvent commit;
        commit.setCommitString("x9y");
        QCoreApplication::sendEvent(id, &commit);
        QCOMPARE(id->text() + ' ' + QString::number(id->cursorPosition()), "47911 3");
        QCOMPARE(object.EntryTypeTypeID, 47911);

        QWheelEvent wheel({ 5, 5 }, { 5, 5 }, {}, { 0, -120 }, Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(valueAt(&entryForm, 0), &wheel);
        QVERIFY(!wheel.isAccepted());
        QCOMPARE(entry.Type, 5);
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
        QCOMPARE(translator.translate("QPlatformTheme", "OK").isEmpty(), !DROVANEL_QT_TEXTS_MERGED);
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
        // Of 2048 objects, which hold their Big5 names in String3 only.
        testres::File descriptions;
        for (int i = 0; i < 2048; ++i) {
            descriptions.objects.append(testres::Object(
                    1, i, texts("x", "m", encoded("Big5", TraditionalNames.at(i % 12)))));
        }
        descriptions.objects.first().strings[0] = ambiguous;
        QTest::newRow("b1 f6 in a file of Big5 texts") << descriptions << "梅";
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
        QCOMPARE((QStringList { w.node("Weapon/1")->text(1), w.node("Weapon/1")->text(2) }),
                typed.mid(0, 2));
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
        const QString path = openFile(w, "item.res", sampleFile());
        // The sample's object of no known type was warned of.
        w.watcher.boxes.clear();
        w.select("Pose/1");
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
        expected.objects[6].id = 55;
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
