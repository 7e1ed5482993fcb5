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

namespace {

struct Forms
{
    // The line edit and the value of the integer field that a test row names.
    QPair<QLineEdit *, qint32 *> field(const QString &name)
    {
        if (name == "EntryTypeTypeID")
            return { valueAt<QLineEdit>(&part0, 1), &object.EntryTypeTypeID };
        if (name == "Value2")
            return { valueAt<QLineEdit>(&part1, 2), &entry1.Value2 };
        return { valueAt<QLineEdit>(&part2, 3), &entry2.cycle };
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

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private slots:
    void integerTyping_data()
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
            { "letters are dropped", "1x2a", "12", 12 },
            { "a minus sign alone stores 0", "-", "-", 0 },
            { "a minus sign inside is dropped", "-4-5", "-45", -45 },
            { "leading zeros", "007", "007", 7 },
            { "an emptied field keeps the value", "", "", 3 },
            { "the largest int32", "2147483647", "2147483647", 2147483647 },
            { "the smallest int32", "-2147483648", "-2147483648", -2147483647 - 1 },
            { "a digit beyond int32 is refused", "99999999999", "999999999", 999999999 },
        };
        for (const char *field : { "EntryTypeTypeID", "Value2", "cycle" }) {
            for (const auto &row : rows)
                QTest::addRow("%s: %s", field, row.name)
                        << field << row.typed << row.shown << row.stored;
        }
    }

    void integerTyping()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(qint32, stored);
        Forms forms;
        retype(forms.field(field).first, typed);
        QCOMPARE(forms.field(field).first->text(), shown);
        QCOMPARE(*forms.field(field).second, stored);
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

    // A value without a name shows the first name and is kept until a name is
    // chosen. The wheel over a box without the focus is left to the form around it.
    void namedValues()
    {
        Forms forms;
        auto *type = valueAt<QComboBox>(&forms.part1, 0);
        auto *effect = valueAt<QComboBox>(&forms.part2, 2);
        QWheelEvent wheel({ 5, 5 }, { 5, 5 }, {}, { 0, -120 }, Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(type, &wheel);
        QVERIFY(!wheel.isAccepted());
        QCOMPARE(type->currentText() + effect->currentText(), "ContinuedInfoMainMaxHp");
        QCOMPARE(QPoint(forms.entry1.Type, forms.entry2.effectType), QPoint(5, 7));
        type->setCurrentText("Lianhua");
        effect->setCurrentText("hide");
        QCOMPARE(QPoint(forms.entry1.Type, forms.entry2.effectType), QPoint(17, 10));
        type->setCurrentText("ContinuedInfoMain");
        QCOMPARE(forms.entry1.Type, 1);
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

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
