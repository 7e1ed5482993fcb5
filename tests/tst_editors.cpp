#include "filterdigits.h"
#include "resbytes.h"
#include "testwindow.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QtTest>

using testres::stored;

namespace {

// A Pose object with three Part1 and two Part2 entries, and a plain Weapon.
testres::File sampleFile()
{
    testres::File file;
    file.head = "opaque head";
    file.tail = "tail!";
    testres::Object pose;
    pose.objectType = 3;
    pose.id = 4711;
    // String3 holds "中文" in Big5.
    pose.strings = { stored("abcdef"), stored("model"), stored("\xa4\xa4\xa4\xe5") };
    pose.part1 = { { 12, -1, 7 }, { 5, 3, 4 }, { 17, 0, 9 } };
    pose.part2 = { testres::Entry2 { { 1, 2, 10, 3, 4, 5, 6, 7, 8, 9 } },
        testres::Entry2 { { 11, 12, 7, 13, 14, 15, 16, 17, 18, 19 } } };
    testres::Object weapon;
    weapon.id = 8;
    weapon.strings[0] = stored("B");
    file.objects = { pose, weapon };
    return file;
}

// erase < 0 selects everything and deletes it; otherwise that many Backspaces.
void typeInto(QLineEdit *edit, int erase, const QString &typed)
{
    if (erase < 0) {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
    }
    for (int i = 0; i < erase; ++i)
        QTest::keyClick(edit, Qt::Key_Backspace);
    for (const QChar character : typed) {
        if (character.unicode() < 0x80) {
            QTest::keyClick(edit, character.toLatin1());
        } else {
            // Other characters arrive from an input method, one commit each.
            QInputMethodEvent commit;
            commit.setCommitString(character);
            QApplication::sendEvent(edit, &commit);
        }
    }
}

// Chooses an entry from the keyboard: Home, then Down until it is shown.
bool choose(QComboBox *box, const QString &name)
{
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < box->count() && box->currentText() != name; ++i)
        QTest::keyClick(box, Qt::Key_Down);
    return box->currentText() == name;
}

QStringList items(const QComboBox *box)
{
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        names << box->itemText(i);
    return names;
}

QStringList columns(const QTreeWidgetItem *item)
{
    return { item->text(0), item->text(1), item->text(2) };
}

// The window, shown, with the file of the model as item.res.
class Session : public TestWindow
{
public:
    explicit Session(const testres::File &model)
        : path(writeFile("item.res", testres::toBytes(model)))
    {
        window.show();
    }

    bool open()
    {
        TestWindow::open(path);
        return QTest::qWaitForWindowExposed(&window) && tree->topLevelItemCount() == 1;
    }

    QByteArray save()
    {
        TestWindow::save();
        return testres::readAll(path);
    }

    void select(const QString &name) { tree->setCurrentItem(node(name)); }

    QGroupBox *groupBox(const QString &title) const
    {
        for (QGroupBox *box : window.findChildren<QGroupBox *>()) {
            if (box->title() == title)
                return box;
        }
        return nullptr;
    }

    // The grid of a group box's forms, which lies inside the box's scroll area.
    QGridLayout *groupGrid(const QString &title) const
    {
        auto *scroll = groupBox(title)->findChild<QScrollArea *>();
        return scroll && scroll->widget() ? qobject_cast<QGridLayout *>(scroll->widget()->layout())
                                          : nullptr;
    }

    const QString path;
};

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private slots:
    void filterDigits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("filtered");
        const auto row = [](const char *name, const QString &text, const QString &filtered) {
            QTest::newRow(name) << text << filtered;
        };
        row("letter between digits", "12a3", "123");
        row("negative number", "-45", "-45");
        row("inner minus dropped", "4-5", "45");
        row("double minus", "--7", "-7");
        row("minus not first", "a-7", "7");
        row("minus alone", "-", "-");
        row("empty", "", "");
        row("full-width digits", QString::fromUtf8("-１２"), "-12");
        row("Arabic-Indic digit", QString::fromUtf8("\u0663x"), "3");
    }

    void filterDigits()
    {
        QFETCH(QString, text);
        QTEST(::filterDigits(text), "filtered");
    }

    void typing_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("erase");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        // The value Save writes: a number, or a string's text bytes without the
        // zero byte; invalid for "as before".
        QTest::addColumn<QVariant>("after");
        const auto row = [](const char *name, const char *form, int entry, int field, int erase,
                                 const QString &typed, const QString &shown,
                                 const QVariant &after) {
            QTest::newRow(name) << QString(form) << entry << field << erase << typed << shown
                                << after;
        };
        const QVariant asBefore;
        row("id 12a", "object", 0, 1, -1, "12a", "12", 12);
        row("id 007", "object", 0, 1, -1, "007", "007", 7);
        row("id minus alone", "object", 0, 1, -1, "-", "-", 0);
        row("id minus then 5", "object", 0, 1, -1, "-5", "-5", -5);
        row("id beyond int32", "object", 0, 1, -1, "2147483648", "2147483648", 0);
        row("id full-width digits", "object", 0, 1, -1, QString::fromUtf8("１２"), "12", 12);
        row("id cleared", "object", 0, 1, -1, "", "", asBefore);
        row("id letter appended", "object", 0, 1, 0, "x", "4711", asBefore);
        row("Part1 Value1 shows -1", "part1", 0, 1, 0, "", "-1", asBefore);
        row("Part1 Value2 3x", "part1", 0, 2, -1, "3x", "3", 3);
        row("Part1 Value1 cleared", "part1", 0, 1, -1, "", "", asBefore);
        row("Part1 second entry", "part1", 1, 2, -1, "-5", "-5", -5);
        row("Part2 unknonw6 cleared", "part2", 0, 5, -1, "", "", asBefore);
        row("Part2 unknown10 beyond int32", "part2", 0, 9, -1, "99999999999", "99999999999", 0);
        row("Part2 second entry unknown3", "part2", 1, 1, 1, "42", "142", 142);

        const QString zhong = QString::fromUtf8("中");
        const QByteArray zhongGb("\xd6\xd0");
        row("String1 shortened from six bytes to three", "object", 0, 2, 3, "", "abc",
                QByteArray("abc"));
        row("String1 cleared keeps its bytes", "object", 0, 2, -1, "", "", asBefore);
        row("String1 of exactly 253 bytes", "object", 0, 2, -1, zhong.repeated(126) + "a",
                zhong.repeated(126) + "a", zhongGb.repeated(126) + "a");
        row("String2 non-ASCII stored as GB18030", "object", 0, 3, -1, zhong, zhong, zhongGb);
        row("String2 ASCII beyond 253 bytes", "object", 0, 3, -1, QString(260, 'x'),
                QString(253, 'x'), QByteArray(253, 'x'));
        row("String3 shown as Big5, stored as GB18030", "object", 0, 4, 0, QString::fromUtf8("字"),
                QString::fromUtf8("中文字"), QByteArray("\xd6\xd0\xce\xc4\xd7\xd6"));
        row("String3 cut before a character that does not fit", "object", 0, 4, -1,
                zhong.repeated(127), zhong.repeated(126), zhongGb.repeated(126));
    }

    void typing()
    {
        QFETCH(QString, form);
        QFETCH(int, entry);
        QFETCH(int, row);
        QFETCH(int, erase);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QVariant, after);

        testres::File model = sampleFile();
        Session session(model);
        QVERIFY(session.open());
        session.select("Pose/0");
        QTreeWidgetItem *treeRow = session.node("Pose/0");
        QStringList rowTexts = columns(treeRow);

        QWidget *editor = form == "object" ? static_cast<QWidget *>(session.form<UiMyPart0>())
                : form == "part1" ? static_cast<QWidget *>(session.form<UiMyPart1SubObject>(entry))
                                  : session.form<UiMyPart2SubObject>(entry);
        auto *edit = valueAt<QLineEdit>(editor, row);
        QVERIFY(edit);
        typeInto(edit, erase, typed);
        QCOMPARE(edit->text(), shown);

        // The tree row shows the identifier, String1 and String2.
        if (form == "object" && row <= 3)
            rowTexts[row - 1] = shown;
        QCOMPARE(columns(treeRow), rowTexts);
        testres::Object &object = model.objects[0];
        if (after.type() == QVariant::ByteArray) {
            object.strings[row - 2] = stored(after.toByteArray());
        } else if (after.isValid()) {
            qint32 &field = form == "object" ? object.id
                    : form == "part1"
                    ? (row == 1 ? object.part1[entry].value1 : object.part1[entry].value2)
                    : object.part2[entry][row];
            field = after.toInt();
        }
        QCOMPARE(session.save(), testres::toBytes(model));
    }

    // The type box names the type and takes no choice. A type without a name,
    // which cannot reach the tree, shows the first name and is kept.
    void objectTypeBox()
    {
        const testres::File model = sampleFile();
        Session session(model);
        QVERIFY(session.open());
        session.select("Pose/0");
        auto *box = valueAt<QComboBox>(session.form<UiMyPart0>(), 0);
        QVERIFY(box);
        QCOMPARE(box->currentText(), QString("Pose"));
        QVERIFY(!box->isEnabled());
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), QString("Pose"));
        QCOMPARE(session.save(), testres::toBytes(model));

        ResObject unknown;
        unknown.ObjectType = 9;
        UiMyPart0 form(nullptr, &unknown);
        QCOMPARE(valueAt<QComboBox>(&form, 0)->currentText(), QString("Weapon"));
        QCOMPARE(unknown.ObjectType, 9);
    }

    void namedChoices_data()
    {
        QTest::addColumn<bool>("part1");
        QTest::addColumn<qint32>("before");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<qint32>("after");
        const auto row = [](const char *name, bool part1, qint32 before, const QString &shown,
                                 const QStringList &choices, qint32 after) {
            QTest::newRow(name) << part1 << before << shown << choices << after;
        };
        row("Part1 Lianhua", true, 12, "MusicID", { "Lianhua" }, 17);
        row("Part1 unnamed 5 kept", true, 5, "ContinuedInfoMain", {}, 5);
        row("Part1 unnamed 5, first entry chosen again", true, 5, "ContinuedInfoMain",
                { "ContinuedInfoMain" }, 5);
        row("Part1 unnamed 5, another entry then the first", true, 5, "ContinuedInfoMain",
                { "MappedType", "ContinuedInfoMain" }, 1);
        row("Part2 ATK", false, 10, "hide", { "ATK" }, 3);
        row("Part2 ATK then hide", false, 10, "hide", { "ATK", "hide" }, 10);
        row("Part2 unnamed 7 kept", false, 7, "MaxHp", {}, 7);
        row("Part2 unnamed 0, first entry chosen again", false, 0, "MaxHp", { "MaxHp" }, 0);
        row("Part2 unnamed 7, NowHp then MaxHp", false, 7, "MaxHp", { "NowHp", "MaxHp" }, 1);
    }

    void namedChoices()
    {
        QFETCH(bool, part1);
        QFETCH(qint32, before);
        QFETCH(QString, shown);
        QFETCH(QStringList, choices);
        QFETCH(qint32, after);

        testres::File model = sampleFile();
        qint32 &field = part1 ? model.objects[0].part1[0].type : model.objects[0].part2[0][2];
        field = before;
        Session session(model);
        QVERIFY(session.open());
        session.select("Pose/0");
        const QStringList treeTexts = columns(session.node("Pose/0"));

        auto *box = part1 ? valueAt<QComboBox>(session.form<UiMyPart1SubObject>(0), 0)
                          : valueAt<QComboBox>(session.form<UiMyPart2SubObject>(0), 2);
        QVERIFY(box);
        QCOMPARE(items(box), part1 ? Part1TypeNames : EffectTypeNames);
        QCOMPARE(box->currentText(), shown);
        for (const QString &choice : choices)
            QVERIFY(choose(box, choice));

        QCOMPARE(columns(session.node("Pose/0")), treeTexts);
        field = after;
        QCOMPARE(session.save(), testres::toBytes(model));
    }

    void editsFollowOwnRow_data()
    {
        QTest::addColumn<QString>("current");
        QTest::newRow("a folder") << "Weapon";
        QTest::newRow("Objects") << "Objects";
        QTest::newRow("no current item") << "";
    }

    void editsFollowOwnRow()
    {
        QFETCH(QString, current);
        testres::File model = sampleFile();
        Session session(model);
        QVERIFY(session.open());
        session.select("Pose/0");
        UiMyPart0 *form = session.form<UiMyPart0>();
        const int part1Forms = model.objects[0].part1.size();

        QTreeWidgetItem *currentNode = current.isEmpty() ? nullptr : session.node(current);
        QTreeWidgetItem *row = session.node("Pose/0");
        session.tree->setCurrentItem(currentNode);
        QCOMPARE(session.window.findChildren<UiMyPart0 *>(), QList<UiMyPart0 *> { form });
        QCOMPARE(session.window.findChildren<UiMyPart1SubObject *>().size(), part1Forms);
        typeInto(valueAt<QLineEdit>(form, 1), -1, "99");
        typeInto(valueAt<QLineEdit>(form, 2), -1, "desc");
        typeInto(valueAt<QLineEdit>(form, 3), -1, "name");

        if (currentNode)
            QCOMPARE(columns(currentNode), (QStringList { current, "", "" }));
        QCOMPARE(columns(row), (QStringList { "99", "desc", "name" }));

        model.objects[0].id = 99;
        model.objects[0].strings[0] = stored("desc");
        model.objects[0].strings[1] = stored("name");
        QCOMPARE(session.save(), testres::toBytes(model));
    }

    void layout()
    {
        testres::File model = sampleFile();
        testres::Object &object = model.objects[0];
        object.part1.clear();
        for (int i = 0; i < 7; ++i)
            object.part1.append({ 12, i, 0 });
        object.part2.clear();
        for (int i = 0; i < 5; ++i)
            object.part2.append(testres::Entry2 { { i, 0, 1 } });
        Session session(model);
        QVERIFY(session.open());
        session.select("Pose/0");
        QCoreApplication::sendPostedEvents();
        QCOMPARE(labels(session.form<UiMyPart0>()),
                QStringList({ "ObjectType", "EntryTypeTypeID", "String1", "String2", "String3" }));
        QCOMPARE(labels(session.form<UiMyPart1SubObject>()),
                QStringList({ "Type", "Value1", "Value2" }));
        QCOMPARE(labels(session.form<UiMyPart2SubObject>()),
                QStringList({ "unknown2", "unknown3", "effectType", "cycle", "actionType",
                        "unknonw6", "typeValue", "unknown8", "unknown9", "unknown10" }));

        const struct
        {
            QString title;
            int count;
            int columns;
            int valueRow;
        } groups[] = { { "Part1", 7, 3, 1 }, { "Part2", 5, 5, 0 } };
        for (const auto &group : groups) {
            QGridLayout *grid = session.groupGrid(group.title);
            QVERIFY2(grid, qPrintable(group.title + " scrolls its forms"));
            QCOMPARE(grid->count(), group.count);
            for (int i = 0; i < group.count; ++i) {
                QWidget *form =
                        grid->itemAtPosition(i / group.columns, i % group.columns)->widget();
                QCOMPARE(valueAt<QLineEdit>(form, group.valueRow)->text(), QString::number(i));
                // However many forms, each keeps the size it needs to be read.
                QVERIFY(form->width() >= form->minimumSizeHint().width());
                QVERIFY(form->height() >= form->minimumSizeHint().height());
            }
        }
        QWidget *form = session.form<UiMyPart0>();
        const QGroupBox *part2Box = session.groupBox("Part2");
        QVERIFY(form->mapTo(&session.window, QPoint()).y()
                >= part2Box->mapTo(&session.window, QPoint(0, part2Box->height())).y());
        QVERIFY(form->height() >= form->minimumSizeHint().height());

        // An object without entries shows its form below two empty groups.
        session.select("Weapon/0");
        QCOMPARE(session.groupGrid("Part1")->count(), 0);
        QCOMPARE(session.groupGrid("Part2")->count(), 0);
        QVERIFY(session.form<UiMyPart0>());
    }

    void addCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("newType");
        // The file node is named after item.res; "Pose/0" is the Pose object.
        for (const char *current : { "no file", "item", "Header", "Objects", "Pose/0" })
            QTest::addRow("AddNewObject on %s", current)
                    << "AddNewObject" << current << SelectTypeHint << 0;
        const char *folders[] = { "Weapon", "Item", "Pose", "Vipitem", "Map" };
        for (int type = 1; type <= 5; ++type)
            QTest::addRow("AddNewObject on %s", folders[type - 1])
                    << "AddNewObject" << folders[type - 1] << QString() << type;
        for (const char *command : { "AddSubObjectInPart1", "AddSubObjectInPart2" }) {
            for (const char *current : { "no file", "item", "Objects", "Pose", "Pose/0" })
                QTest::addRow("%s on %s", command, current)
                        << command << current
                        << (qstrcmp(current, "Pose/0") ? SelectObjectHint : QString()) << 0;
        }
    }

    void addCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, current);
        QFETCH(QString, hint);
        QFETCH(int, newType);

        testres::File model = sampleFile();
        Session session(model);
        if (current != "no file") {
            QVERIFY(session.open());
            session.select(current);
        }
        session.trigger(command);

        if (hint.isEmpty() && command == "AddNewObject") {
            testres::Object added;
            added.objectType = newType;
            added.id = -1;
            model.objects.append(added);
            QTreeWidgetItem *folder = session.node(current);
            QVERIFY(folder->childCount() > 0);
            QCOMPARE(columns(folder->child(folder->childCount() - 1)),
                    (QStringList { "-1", "", "" }));
            QVERIFY(!session.form<UiMyPart0>());
            // Nothing is current after the rebuild, so a second time only hints.
            QVERIFY(session.watcher.boxes.isEmpty());
            session.trigger(command);
            hint = SelectTypeHint;
        } else if (hint.isEmpty()) {
            // The new entry's form takes the next place in its group's grid.
            const bool part1 = command == "AddSubObjectInPart1";
            QWidget *form = part1 ? session.groupGrid("Part1")->itemAtPosition(1, 0)->widget()
                                  : session.groupGrid("Part2")->itemAtPosition(0, 2)->widget();
            QCOMPARE(valueAt<QComboBox>(form, part1 ? 0 : 2)->currentText(),
                    QString(part1 ? "MusicID" : "MaxHp"));
            if (part1)
                model.objects[0].part1.append({ 12, 0, 0 });
            else
                model.objects[0].part2.append(testres::Entry2 { { 2, 0, 1 } });
        }

        if (hint.isEmpty()) {
            QVERIFY(session.watcher.boxes.isEmpty());
        } else {
            QCOMPARE(session.watcher.boxes.size(), 1);
            const ModalWatcher::Box &box = session.watcher.boxes.first();
            QCOMPARE(box.text, hint);
            QCOMPARE(box.title, QString());
            QCOMPARE(box.icon, QMessageBox::Information);
            QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(box.parent, static_cast<QWidget *>(&session.window));
        }
        QCOMPARE(session.save(), testres::toBytes(model));
    }

    void objectCountLimit_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("adds");
        QTest::newRow("32766 objects take one more") << 32766 << true;
        QTest::newRow("32767 objects are the most") << 32767 << false;
    }

    void objectCountLimit()
    {
        QFETCH(int, count);
        QFETCH(bool, adds);
        testres::File model;
        model.objects.fill(testres::Object(), count);
        Session session(model);
        QVERIFY(session.open());
        session.select("Pose");
        session.trigger("AddNewObject");

        if (adds) {
            QVERIFY(session.watcher.boxes.isEmpty());
            testres::Object added;
            added.objectType = 3;
            added.id = -1;
            model.objects.append(added);
        } else {
            QCOMPARE(session.watcher.boxes.size(), 1);
            const ModalWatcher::Box &box = session.watcher.boxes.first();
            QCOMPARE(box.icon, QMessageBox::Information);
            QCOMPARE(box.parent, static_cast<QWidget *>(&session.window));
            QVERIFY2(box.text.contains("32767"), qPrintable(box.text));
            QCOMPARE(session.node("Pose")->childCount(), 0);
        }
        QCOMPARE(session.save(), testres::toBytes(model));
    }
};

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
