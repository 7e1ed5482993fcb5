#include "uimypart0.h"

#include "formfields.h"
#include "recordtext.h"

#include <QMap>
#include <QTreeWidget>

QTreeWidget *g_objectTree = nullptr;

namespace {
enum TreeColumn { IdColumn = 0, DescriptionColumn = 1, ModelNameColumn = 2, NoColumn = -1 };
}

UiMyPart0::UiMyPart0(QWidget *parent, ResObject *record, const TextEvidence &evidence)
    : QWidget(parent)
    , record(record)
    , row(g_objectTree ? g_objectTree->currentItem() : nullptr)
{
    setLayout(&layout);
    addFormRows(layout,
            {
                    { objectTypeLabel, objectTypeBox, tr("ObjectType") },
                    { entryTypeTypeIDLabel, entryTypeTypeIDEdit, tr("EntryTypeTypeID") },
                    { string1Label, string1Edit, tr("String1") },
                    { string2Label, string2Edit, tr("String2") },
                    { string3Label, string3Edit, tr("String3") },
            });

    QMap<int, QString> objectTypeNames;
    objectTypeNames.insert(WeaponType, tr("Weapon"));
    objectTypeNames.insert(ItemType, tr("Item"));
    objectTypeNames.insert(PoseType, tr("Pose"));
    objectTypeNames.insert(VipItemType, tr("VipItem"));
    objectTypeNames.insert(MapType, tr("Map"));
    objectTypeBox.setNames(objectTypeNames);
    objectTypeBox.showField(&record->ObjectType);
    // The type only names the folder the object is filed under; the form does not
    // change it, so it does not invite a change either.
    objectTypeBox.setEnabled(false);
    entryTypeTypeIDEdit.showField(&record->EntryTypeTypeID);
    // The row may still show what an earlier form of the object was left
    // holding, such as an emptied identifier; from now on it follows this form,
    // which shows the record.
    if (row) {
        for (int column : { IdColumn, DescriptionColumn, ModelNameColumn })
            row->setData(column, Qt::DisplayRole, QVariant());
    }

    showString(string1Edit, string1Original, record->String1,
            decodeRecordText(recordTextBytes(record->String1), evidence));
    showString(string2Edit, string2Original, record->String2,
            decodeModelNameText(recordTextBytes(record->String2), evidence));
    showString(string3Edit, string3Original, record->String3,
            decodeRecordText(recordTextBytes(record->String3), evidence));

    // Connected only now, so that showing the values writes nothing.
    connect(&entryTypeTypeIDEdit, &QLineEdit::textChanged, this,
            &UiMyPart0::onEntryTypeTypeIDChanged);
    connect(&string1Edit, &QLineEdit::textChanged, this, &UiMyPart0::onString1Changed);
    connect(&string2Edit, &QLineEdit::textChanged, this, &UiMyPart0::onString2Changed);
    connect(&string3Edit, &QLineEdit::textChanged, this, &UiMyPart0::onString3Changed);
}

// The edit itself stores the number.
void UiMyPart0::onEntryTypeTypeIDChanged(const QString &text)
{
    setRowText(IdColumn, text);
}

void UiMyPart0::onString1Changed(const QString &text)
{
    storeString(string1Edit, record->String1, string1Original, DescriptionColumn, text);
}

void UiMyPart0::onString2Changed(const QString &text)
{
    storeString(string2Edit, record->String2, string2Original, ModelNameColumn, text);
}

void UiMyPart0::onString3Changed(const QString &text)
{
    storeString(string3Edit, record->String3, string3Original, NoColumn, text);
}

void UiMyPart0::showString(
        QLineEdit &edit, Original &original, const ResString &string, const QString &text)
{
    original = { string, text };
    edit.setText(text);
}

void UiMyPart0::storeString(QLineEdit &edit, ResString &string, const Original &original,
        int treeColumn, const QString &text)
{
    // An edit undone, or the text typed again, is no change: the string keeps
    // the bytes it came with, Big5 or whatever lay behind its zero byte.
    if (text == original.text) {
        string = original.string;
        if (treeColumn != NoColumn)
            setRowText(treeColumn, text);
        return;
    }
    // Text too long for the slot is cut to what was stored, so that the edit
    // shows exactly what Save will write. Only then is the text set back, which
    // ends the edit's undo history and an input method's composition.
    const int kept = storeRecordText(string, text);
    const QString stored = text.left(kept);
    if (kept < text.size()) {
        const int cursor = qMin(edit.cursorPosition(), kept);
        edit.setText(stored);
        edit.setCursorPosition(cursor);
    }
    if (treeColumn != NoColumn)
        setRowText(treeColumn, stored);
}

void UiMyPart0::setRowText(int column, const QString &text)
{
    if (row)
        row->setText(column, text);
}
