#include "uimypart2subobject.h"

#include "formfields.h"

#include <QMap>

UiMyPart2SubObject::UiMyPart2SubObject(QWidget *parent, Part2SubObject *entry)
    : QWidget(parent)
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
}

void UiMyPart2SubObject::showEntry(Part2SubObject *shown)
{
    const struct
    {
        IntegerEdit &edit;
        qint32 Part2SubObject::*field;
    } fields[] = {
        { unknown2Edit, &Part2SubObject::unknown2 },
        { unknown3Edit, &Part2SubObject::unknown3 },
        { cycleEdit, &Part2SubObject::cycle },
        { actionTypeEdit, &Part2SubObject::actionType },
        { unknonw6Edit, &Part2SubObject::unknonw6 },
        { typeValueEdit, &Part2SubObject::typeValue },
        { unknown8Edit, &Part2SubObject::unknown8 },
        { unknown9Edit, &Part2SubObject::unknown9 },
        { unknown10Edit, &Part2SubObject::unknown10 },
    };
    for (const auto &field : fields)
        field.edit.showField(shown ? &(shown->*field.field) : nullptr);
    effectTypeBox.showField(shown ? &shown->effectType : nullptr);
}
