// The forms of an object and of its entries, built over records of the test's
// own and typed into key by key: what each keystroke shows and stores.

#include "resrecords.h"
#include "testwindow.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include <memory>

namespace {

// The three forms over records of the test's own, and the integer field of each
// that a test row names.
struct Forms
{
    QWidget *form(const QString &field)
    {
        if (field == "EntryTypeTypeID")
            return &part0;
        return field == "Value2" ? static_cast<QWidget *>(&part1) : &part2;
    }
    QLineEdit *edit(const QString &field)
    {
        const int row = field == "EntryTypeTypeID" ? 1 : field == "Value2" ? 2 : 3;
        return valueAt<QLineEdit>(form(field), row);
    }
    qint32 &value(const QString &field)
    {
        return field == "EntryTypeTypeID" ? object.EntryTypeTypeID
                : field == "Value2"       ? entry1.Value2
                                          : entry2.cycle;
    }

    ResObject object = [] {
        ResObject object;
        object.EntryTypeTypeID = 3;
        object.String1 = object.String2 = object.String3 = { 4, "old" };
        return object;
    }();
    Part1SubObject entry1 = { 5, -1, 3 };
    Part2SubObject entry2 = { 2, 0, 7, 3, 0, 0, 0, 0, 0, 0 };
    UiMyPart0 part0 { nullptr, &object };
    UiMyPart1SubObject part1 { nullptr, &entry1 };
    UiMyPart2SubObject part2 { nullptr, &entry2 };
};

QByteArray storedText(const ResString &string)
{
    return QByteArray(string.Text, string.Length);
}

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private slots:
    void integerTyping_data();
    void integerTyping();
    void namedValues();
    void textTyping_data();
    void textTyping();
    void treeRowFollows();
};

void TestEditors::integerTyping_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<qint32>("stored");
    const struct
    {
        const char *name, *typed, *shown;
        qint32 stored;
    } rows[] = {
        { "letters are dropped", "12a", "12", 12 },
        { "a minus sign alone stores 0", "-", "-", 0 },
        { "a minus sign then a digit", "-5", "-5", -5 },
        { "a minus sign inside is dropped", "4-5", "45", 45 },
        { "leading zeros", "007", "007", 7 },
        { "a cleared field keeps the value", "", "", 3 },
    };
    for (const QString field : { "EntryTypeTypeID", "Value2", "cycle" }) {
        for (const auto &row : rows) {
            QTest::addRow("%s: %s", qPrintable(field), row.name)
                    << field << QString(row.typed) << QString(row.shown) << row.stored;
        }
    }
}

void TestEditors::integerTyping()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(qint32, stored);
    Forms forms;
    retype(forms.edit(field), typed);
    QCOMPARE(forms.edit(field)->text(), shown);
    QCOMPARE(forms.value(field), stored);
}

// A value without a name shows the first name and is kept until a name is
// chosen; the object's type only names its folder and cannot be chosen.
void TestEditors::namedValues()
{
    Forms forms;
    forms.object.ObjectType = 9;
    UiMyPart0 unknownType(nullptr, &forms.object);
    auto *objectType = valueAt<QComboBox>(&unknownType, 0);
    QCOMPARE(objectType->currentText(), "Weapon");
    QVERIFY(!objectType->isEnabled());

    auto *type = valueAt<QComboBox>(&forms.part1, 0);
    auto *effect = valueAt<QComboBox>(&forms.part2, 2);
    QCOMPARE(type->currentText(), "ContinuedInfoMain");
    QCOMPARE(effect->currentText(), "MaxHp");
    QCOMPARE(forms.entry1.Type, 5);
    QCOMPARE(forms.entry2.effectType, 7);
    type->setCurrentText("Lianhua");
    effect->setCurrentText("hide");
    QCOMPARE(forms.entry1.Type, 17);
    QCOMPARE(forms.entry2.effectType, 10);
    type->setCurrentText("ContinuedInfoMain");
    QCOMPARE(forms.entry1.Type, 1);
}

void TestEditors::textTyping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("Chinese is stored as GB18030") << "武器1"
                                                  << "武器1" << QByteArray::fromHex("cee4c6f73100");
    QTest::newRow("an emptied field stores the empty string") << ""
                                                              << "" << QByteArray(1, '\0');
    QTest::newRow("253 bytes fill the slot")
            << QString(253, 'a') << QString(253, 'a') << QByteArray(253, 'a') + '\0';
    QTest::newRow("the 254th byte is not stored")
            << QString(254, 'b') << QString(253, 'b') << QByteArray(253, 'b') + '\0';
    // U+1F600 takes four bytes in GB18030 and two UTF-16 units.
    QTest::newRow("a character that does not fit is not split")
            << QString(250, 'c') + QString::fromUcs4(U"\U0001F600") << QString(250, 'c')
            << QByteArray(250, 'c') + '\0';
}

void TestEditors::textTyping()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QByteArray, stored);
    Forms forms;
    for (int row : { 2, 3, 4 }) {
        retype(valueAt(&forms.part0, row), typed);
        QCOMPARE(valueAt<QLineEdit>(&forms.part0, row)->text(), shown);
    }
    QCOMPARE(storedText(forms.object.String1), stored);
    QCOMPARE(storedText(forms.object.String2), stored);
    QCOMPARE(storedText(forms.object.String3), stored);
}

// The object's row in the tree shows the identifier and the first two strings
// as they are typed; the third string has no column.
void TestEditors::treeRowFollows()
{
    QTreeWidget tree;
    auto *row = new QTreeWidgetItem(&tree, { "3", "武器", "" });
    tree.setCurrentItem(row);
    g_objectTree = &tree;
    Forms forms;
    g_objectTree = nullptr;
    retype(forms.edit("EntryTypeTypeID"), "-12x");
    retype(valueAt(&forms.part0, 2), "剑");
    retype(valueAt(&forms.part0, 3), "m_sword");
    retype(valueAt(&forms.part0, 4), "ignored");
    QCOMPARE((QStringList { row->text(0), row->text(1), row->text(2) }),
            (QStringList { "-12", "剑", "m_sword" }));
}

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
