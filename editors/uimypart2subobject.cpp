#include "uimypart2subobject.h"

#include "formfields.h"

#include <QMap>

UiMyPart2SubObject::UiMyPart2SubObject(QWidget *parent, Part2SubObject *entry)
    : QWidget(parent)
    , entry(entry)
{
    setLayout(&layout);

    QMap<int, QString> effectTypeNames;
    effectTypeNames.insert(1, tr("MaxHp"));
    effectTypeNames.insert(2, tr("NowHp"));
    effectTypeNames.insert(3, tr("ATK"));
    effectTypeNames.insert(4, tr("Defense"));
    effectTypeNames.insert(5, tr("MoveSpeed"));
    effectTypeNames.insert(6, tr("NowAngry"));
    effectTypeNames.insert(10, tr("hide"));

    addFormRows(layout,
            {
                    { unknown2Label, unknown2Edit, tr("unknown2") },
                    { unknown3Label, unknown3Edit, tr("unknown3") },
                    { effectTypeLabel, effectTypeBox, tr("effectType") },
                    { cycleLabel, cycleEdit, tr("cycle") },
                    { actionTypeLabel, actionTypeEdit, tr("actionType") },
                    { unknonw6Label, unknonw6Edit, tr("unknonw6") },
                    { typeValueLabel, typeValueEdit, tr("typeValue") },
                    { unknown8Label, unknown8Edit, tr("unknown8") },
                    { unknown9Label, unknown9Edit, tr("unknown9") },
                    { unknown10Label, unknown10Edit, tr("unknown10") },
            });

    effectTypeBox.setNames(effectTypeNames);
    showEntry(entry);

    connect(&unknown2Edit, &QLineEdit::textChanged, this, &UiMyPart2SubObject::onUnknown2Changed);
    connect(&unknown3Edit, &QLineEdit::textChanged, this, &UiMyPart2SubObject::onUnknown3Changed);
    connect(&effectTypeBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &UiMyPart2SubObject::onEffectTypeChanged);
    connect(&cycleEdit, &QLineEdit::textChanged, this, &UiMyPart2SubObject::onCycleChanged);
    connect(&actionTypeEdit, &QLineEdit::textChanged, this,
            &UiMyPart2SubObject::onActionTypeChanged);
    connect(&unknonw6Edit, &QLineEdit::textChanged, this, &UiMyPart2SubObject::onUnknonw6Changed);
    connect(&typeValueEdit, &QLineEdit::textChanged, this, &UiMyPart2SubObject::onTypeValueChanged);
    connect(&unknown8Edit, &QLineEdit::textChanged, this, &UiMyPart2SubObject::onUnknown8Changed);
    connect(&unknown9Edit, &QLineEdit::textChanged, this, &UiMyPart2SubObject::onUnknown9Changed);
    connect(&unknown10Edit, &QLineEdit::textChanged, this, &UiMyPart2SubObject::onUnknown10Changed);
}

void UiMyPart2SubObject::showEntry(Part2SubObject *shown)
{
    entry = shown;
    const struct
    {
        IntegerEdit &edit;
        const qint32 &field;
    } fields[] = {
        { unknown2Edit, entry->unknown2 },
        { unknown3Edit, entry->unknown3 },
        { cycleEdit, entry->cycle },
        { actionTypeEdit, entry->actionType },
        { unknonw6Edit, entry->unknonw6 },
        { typeValueEdit, entry->typeValue },
        { unknown8Edit, entry->unknown8 },
        { unknown9Edit, entry->unknown9 },
        { unknown10Edit, entry->unknown10 },
    };
    for (const auto &field : fields) {
        const QSignalBlocker blocker(field.edit);
        field.edit.showField(&field.field);
    }
    const QSignalBlocker blocker(effectTypeBox);
    effectTypeBox.showValue(entry->effectType);
}

void UiMyPart2SubObject::onUnknown2Changed(const QString &text)
{
    storeIntegerText(entry->unknown2, text);
}

void UiMyPart2SubObject::onUnknown3Changed(const QString &text)
{
    storeIntegerText(entry->unknown3, text);
}

void UiMyPart2SubObject::onEffectTypeChanged()
{
    entry->effectType = effectTypeBox.value();
}

void UiMyPart2SubObject::onCycleChanged(const QString &text)
{
    storeIntegerText(entry->cycle, text);
}

void UiMyPart2SubObject::onActionTypeChanged(const QString &text)
{
    storeIntegerText(entry->actionType, text);
}

void UiMyPart2SubObject::onUnknonw6Changed(const QString &text)
{
    storeIntegerText(entry->unknonw6, text);
}

void UiMyPart2SubObject::onTypeValueChanged(const QString &text)
{
    storeIntegerText(entry->typeValue, text);
}

void UiMyPart2SubObject::onUnknown8Changed(const QString &text)
{
    storeIntegerText(entry->unknown8, text);
}

void UiMyPart2SubObject::onUnknown9Changed(const QString &text)
{
    storeIntegerText(entry->unknown9, text);
}

void UiMyPart2SubObject::onUnknown10Changed(const QString &text)
{
    storeIntegerText(entry->unknown10, text);
}
