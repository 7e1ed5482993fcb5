// The window as a modder uses it: the tree of an opened file, the three ways to
// open a file, the add commands, what Save then writes, and its Chinese texts;
// and the forms of an object and its entries, typed into key by key.

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
#include <QScrollArea>
#include <QScrollBar>
#include <QTranslator>
#include <QtTest>

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

// Opens the sample as item.res and selects its second Pose, object 5.
QString openSample(TestWindow &w)
{
    const QString path = w.writeFile("item.res", testres::toBytes(sampleFile()));
    w.window.show();
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

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void tree()
    {
        TestWindow w;
        testres::File file = sampleFile();
        file.objects[6].objectType = file.objects[7].objectType = 9;
        w.open(w.writeFile("data.backup.res", testres::toBytes(file)));
        QCOMPARE(w.tree->topLevelItemCount(), 1);
        QCOMPARE(w.tree->topLevelItem(0)->text(0) + ": "
                        + (texts(w.tree->topLevelItem(0), true) + texts(w.node("Objects"), true))
                                  .join(' '),
                "data: Header Objects Weapon Pose Item Vipitem Map");
        QCOMPARE(w.node("Pose")->childCount(), 2);
        QCOMPARE(texts(w.node("Pose/1"), false), (QStringList { "-1", "武器", "m_pose" }));
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
        if (words.first() == "undo") {
            QTest::keyClick(id, Qt::Key_Z, Qt::ControlModifier);
            words.removeFirst();
        }
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
                    outcome.isEmpty() || outcome == "opened"
                            ? QString()
                            : "Cannot open " + QDir::toNativeSeparators(file)
                                    + ": offset 52: ObjectCount 1 needs at least 31 bytes "
                                      "of objects, but only 0 bytes follow the header.");
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
    // opens as Open opens it (openSample opens its file so).
    void commandLine()
    {
        QTemporaryDir empty;
        QProcess drovanel;
        // A translation in the folder it starts from would answer in Chinese.
        drovanel.setWorkingDirectory(empty.path());
        drovanel.start(DROVANEL_EXECUTABLE, { "a.res", "b.res" });
        QVERIFY(drovanel.waitForFinished(30000));
        QCOMPARE(drovanel.exitCode(), 1);
        QVERIFY(drovanel.readAllStandardError().contains("[options] [file]"));
        drovanel.start(DROVANEL_EXECUTABLE, { "--version" });
        QVERIFY(drovanel.waitForFinished(30000));
        QCOMPARE(drovanel.readAllStandardOutput(), "drovanel 1.0\n");
    }

    // Once the user leaves a number field it shows what Save writes, and so does
    // the tree; the object's strings show in their columns as they are typed.
    void leavingANumberField()
    {
        TestWindow w;
        openSample(w);
        QApplication::setActiveWindow(&w.window);
        auto *form = w.form<UiMyPart0>();
        retype(valueAt(form, 2), "剑");
        retype(valueAt(form, 3), "m_sword");
        auto *id = valueAt<QLineEdit>(form, 1);
        // An emptied field keeps the stored -1; "-" alone stores 0.
        for (const QString typed : { "", "007", "-" }) {
            id->setFocus();
            QTRY_VERIFY(id->hasFocus());
            retype(id, typed);
            QCOMPARE(w.node("Pose/1")->text(0), typed);
            valueAt(form, 4)->setFocus();
            const QString shown = typed.isEmpty() ? "-1" : typed == "-" ? "0" : "7";
            QTRY_COMPARE(id->text(), shown);
            QCOMPARE(texts(w.node("Pose/1"), false), (QStringList { shown, "剑", "m_sword" }));
        }
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

        // Another object shows its first entries, wherever the areas were.
        w.select("Weapon/0");
        const QList<QScrollArea *> areas = w.window.findChildren<QScrollArea *>();
        QCOMPARE(areas.size(), 2);
        for (QScrollArea *area : areas) {
            for (QScrollBar *bar : { area->verticalScrollBar(), area->horizontalScrollBar() })
                bar->setValue(bar->maximum());
        }
        w.select("Pose/1");
        w.select("Weapon/0");
        for (QScrollArea *area : areas) {
            QCOMPARE(area->verticalScrollBar()->value() + area->horizontalScrollBar()->value(), 0);
            QVERIFY(area->verticalScrollBar()->maximum() + area->horizontalScrollBar()->maximum());
        }
        w.save();
        testres::File expected = sampleFile();
        expected.objects[2].part1[0][2] = 8;
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));
    }

    void addWithTheFocusInAField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("shown");
        // Pose/1 has three Part1 entries and no room for a fourth: an entry added
        // moves its table.
        const QString value1 = QString::number(sampleFile().objects[5].part1[0][1]);
        QTest::newRow("emptied Value1, Part1 entry added") << "Value1"
                                                           << ""
                                                           << "AddSubObjectInPart1" << value1;
        QTest::newRow("emptied Value1, Part2 entry added") << "Value1"
                                                           << ""
                                                           << "AddSubObjectInPart2" << value1;
        QTest::newRow("emptied identifier, entry added") << "EntryTypeTypeID"
                                                         << ""
                                                         << "AddSubObjectInPart1"
                                                         << "-1";
        QTest::newRow("identifier 007, entry added") << "EntryTypeTypeID"
                                                     << "007"
                                                     << "AddSubObjectInPart2"
                                                     << "7";
    }

    // An entry added while a field holds the focus moves the table that the
    // forms show: no form writes into the old one as the focus leaves, and the
    // field and the tree row then show what Save writes.
    void addWithTheFocusInAField()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, command);
        QFETCH(QString, shown);
        TestWindow w;
        const QString path = openSample(w);
        QApplication::setActiveWindow(&w.window);
        const bool part1 = field == "Value1";
        // The object's form is built anew for the new entry.
        const auto fieldEdit = [&] {
            QWidget *form = part1 ? static_cast<QWidget *>(w.form<UiMyPart1SubObject>())
                                  : w.form<UiMyPart0>();
            return valueAt<QLineEdit>(form, 1);
        };
        QLineEdit *edit = fieldEdit();
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        retype(edit, typed);
        w.trigger(command);
        edit = fieldEdit();
        QCOMPARE(edit->text(), shown);
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        valueAt(w.form<UiMyPart0>(), 2)->setFocus();
        QTRY_VERIFY(!edit->hasFocus());
        QCOMPARE(edit->text(), shown);
        QCOMPARE(w.node("Pose/1")->text(0), part1 ? "-1" : shown);

        w.save();
        testres::File expected = sampleFile();
        expected.objects[5].id = part1 ? -1 : shown.toInt();
        if (command.endsWith('1'))
            expected.objects[5].part1.append({ 12, 0, 0 });
        else
            expected.objects[5].part2.append({ 2, 0, 1, 0, 0, 0, 0, 0, 0, 0 });
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));
    }

    void namesReadBack_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("name");
        QTest::newRow("simplified in GB18030") << QByteArray("\xbd\xf0\xb1\xd2x100") << "金币x100";
        QTest::newRow("traditional in Big5, a backslash as trail byte")
                << QByteArray("\xbe\x5c\xc5\xaa") << "閱讀";
        QTest::newRow("traditional in GB18030")
                << QByteArray("\xd9\x46\xd9\x65\x84\xa6") << "貴賓劍";
    }

    // Short names, which a byte count cannot tell apart, read back as they were
    // written, in the tree and in the form; model names are UTF-8.
    void namesReadBack()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, name);
        TestWindow w;
        testres::File file = sampleFile();
        file.objects[5].strings = { testres::stored(stored), testres::stored("模型_1"),
            testres::stored(stored) };
        w.window.show();
        w.window.openFile(w.writeFile("names.res", testres::toBytes(file)));
        w.select("Pose/1");
        const QStringList expected { "-1", name, "模型_1" };
        QCOMPARE(texts(w.node("Pose/1"), false), expected);
        auto *form = w.form<UiMyPart0>();
        QCOMPARE(
                (QStringList { valueAt<QLineEdit>(form, 1)->text(),
                        valueAt<QLineEdit>(form, 2)->text(), valueAt<QLineEdit>(form, 3)->text() }),
                expected);
        QCOMPARE(valueAt<QLineEdit>(form, 4)->text(), name);
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
                                           "AddSubObjectInPart1 AddSubObjectInPart2 "
                                           "AddSubObjectInPart2 Pose AddNewObject AddNewObject")
                                           .split(' '))
            step.startsWith("Add") ? w.trigger(step) : w.select(step);
        QCOMPARE(texts(w.node("Pose/3"), false), (QStringList { "-1", "", "" }));
        const QString type = "Please select object type inside the tree, and try again.";
        const QString object = "Please select object ID inside the tree, and try again.";
        QStringList shown;
        for (const ModalWatcher::Box &box : qAsConst(w.watcher.boxes))
            shown << box.text;
        QCOMPARE(shown, (QStringList { type, type, object, object, type }));

        w.save();
        testres::File expected = sampleFile();
        expected.objects[5].part1.append({ 12, 0, 0 });
        const testres::Entry2 entry = { 2, 0, 1, 0, 0, 0, 0, 0, 0, 0 };
        expected.objects[5].part2 << entry << entry;
        expected.objects.append(testres::Object());
        expected.objects.last().objectType = 3;
        expected.objects.last().id = -1;
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
                                 "-ts", ts }),
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
    }

    // The compiled translation holds ours and, where Qt ships it, Qt's own texts
    // (the buttons of message boxes, the menu of line edits).
    void compiledTranslation()
    {
        QTranslator translator;
        QVERIFY(translator.load(DROVANEL_QM_FILE));
        QCOMPARE(translator.translate("Drovanel", "&CurrentObject"), "当前对象(&C)");
        QCOMPARE(translator.translate("QPlatformTheme", "OK").isEmpty(), !DROVANEL_QT_TEXTS_MERGED);
    }

    void integerTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<qint32>("stored");
        const struct
        {
            const char *name, *typed, *shown;
            qint32 stored;
        } rows[] = {
            { "letters are dropped", "1x2a", "12", 12 },
            { "a minus sign inside is dropped", "-4-5", "-45", -45 },
            { "the largest int32", "2147483647", "2147483647", 2147483647 },
            { "the smallest int32", "-2147483648", "-2147483648", -2147483647 - 1 },
            { "a digit beyond int32 is refused", "99999999999", "999999999", 999999999 },
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << row.typed << row.shown << row.stored;
    }

    // The same rule in all three forms.
    void integerTyping()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(qint32, stored);
        Forms forms;
        const QPair<QLineEdit *, qint32 *> fields[] = {
            { valueAt<QLineEdit>(&forms.part0, 1), &forms.object.EntryTypeTypeID },
            { valueAt<QLineEdit>(&forms.part1, 2), &forms.entry1.Value2 },
            { valueAt<QLineEdit>(&forms.part2, 3), &forms.entry2.cycle },
        };
        for (const auto &field : fields) {
            retype(field.first, typed);
            QCOMPARE(field.first->text() + ' ' + QString::number(*field.second),
                    shown + ' ' + QString::number(stored));
        }
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
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
