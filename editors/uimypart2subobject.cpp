#include "uimypart2subobject.h"

#include <QMap>

UiMyPart2SubObject::UiMyPart2SubObject(QWidget *parent, Part2SubObject *entry)
    : QWidget(parent)
    , layout(this)
    , fields(layout, Part2Fields)
{
    QMap<int, QString> effectTypeNames;
    effectTypeNames.insert(1, tr("MaxHp"));
    effectTypeNames.insert(2, tr("NowHp"));
    effectTypeNames.insert(3, tr("ATK"));
    effectTypeNames.insert(4, tr("Defense"));
    effectTypeNames.insert(5, tr("MoveSpeed"));
    effectTypeNames.insert(6, tr("NowAngry"));
    effectTypeNames.insert(10, tr("hide"));
    fields.namedField().setNames(effectTypeNames);
    showEntry(entry);
}
