#include "uimypart0.h"

#include "objectrow.h"
#include "recordtext.h"

#include <QMap>
#include <QTreeWidget>

QTreeWidget *g_objectTree = nullptr;

UiMyPart0::UiMyPart0(QWidget *parent, ResObject *record, const TextEvidence &evidence)
    : QWidget(parent)
    , record(record)
    , row(g_objectTree ? g_objectTree->currentItem() : nullptr)
    , layout(this)
{
    addFormRow(layout, 0, objectTypeLabel, objectTypeBox, fieldLabel(ObjectTypeField.name));
    addFormRow(layout, 1, entryTypeTypeIDLabel, entryTypeTypeIDEdit,
            fieldLabel(EntryTypeTypeIDField.name));
    for (size_t i = 0; i < strings.size(); ++i) {
        addFormRow(layout, int(2 + i), strings[i].label, strings[i].edit,
                fieldLabel(StringFields[i].name));
    }

    QMap<int, QString> objectTypeNames;
    for (const ObjectTypeName &type : ObjectTypeNames)
        objectTypeNames.insert(type.code, fieldLabel(type.form));
    objectTypeBox.setNames(objectTypeNames);
    objectTypeBox.showField(&(record->*ObjectTypeField.member));
    // The type only names the folder the object is filed under; the form does not
    // change it, so it does not invite a change either.
    objectTypeBox.setEnabled(false);
    entryTypeTypeIDEdit.showField(&(record->*EntryTypeTypeIDField.member));
    // The row may still show what an earlier form of the object was left
    // holding, such as an emptied identifier; from now on it follows this form,
    // which shows the record.
    if (row) {
        for (int column = 0; column < ObjectRowColumns; ++column)
            row->setData(column, Qt::DisplayRole, QVariant());
    }

    for (size_t i = 0; i < strings.size(); ++i) {
        const StringField &field = StringFields[i];
        strings[i].original = record->*field.member;
        strings[i].originalText =
                readStoredText(strings[i].original, field.modelName, evidence).text;
        strings[i].edit.setText(strings[i].originalText);
    }

    // Connected only now, so that showing the values writes nothing.
    connect(&entryTypeTypeIDEdit, &QLineEdit::textChanged, this,
            &UiMyPart0::onEntryTypeTypeIDChanged);
    connect(&strings[0].edit, &QLineEdit::textChanged, this, &UiMyPart0::onString1Changed);
    connect(&strings[1].edit, &QLineEdit::textChanged, this, &UiMyPart0::onString2Changed);
    connect(&strings[2].edit, &QLineEdit::textChanged, this, &UiMyPart0::onString3Changed);
}

// The edit itself stores the number.
void UiMyPart0::onEntryTypeTypeIDChanged(const QString &text)
{
    setRowText(IdColumn, text);
}

void UiMyPart0::onString1Changed(const QString &text)
{
    storeString(0, text);
}

void UiMyPart0::onString2Changed(const QString &text)
{
    storeString(1, text);
}

void UiMyPart0::onString3Changed(const QString &text)
{
    storeString(2, text);
}

void UiMyPart0::storeString(int string, const QString &text)
{
    StringRow &shown = strings[string];
    ResString &stored = record->*StringFields[string].member;
    const int column = columnOfString(StringFields[string]);
    // An edit undone, or the text typed again, is no change: the string keeps
    // the bytes it came with, Big5 or whatever lay behind its zero byte.
    if (text == shown.originalText) {
        stored = shown.original;
        setRowText(column, text);
        return;
    }
    // Text too long for the slot is cut to what was stored, so that the edit
    // shows exactly what Save will write. Only then is the text set back, which
    // ends the edit's undo history and an input method's composition.
    const int kept = storeRecordText(stored, text);
    const QString storedText = text.left(kept);
    if (kept < text.size()) {
        const int cursor = qMin(shown.edit.cursorPosition(), kept);
        shown.edit.setText(storedText);
        shown.edit.setCursorPosition(cursor);
    }
    setRowText(column, storedText);
}

void UiMyPart0::setRowText(int column, const QString &text)
{
    if (row && column >= 0)
        row->setText(column, text);
}
