#include "uimypart1subobject.h"

#include <QMap>

UiMyPart1SubObject::UiMyPart1SubObject(QWidget *parent, Part1SubObject *entry)
    : QWidget(parent)
    , layout(this)
    , fields(layout, Part1Fields)
{
    QMap<int, QString> typeNames;
    typeNames.insert(1, tr("ContinuedInfoMain"));
    typeNames.insert(2, tr("ContinuedInfoSecond"));
    typeNames.insert(8, tr("unknown8"));
    typeNames.insert(11, tr("MappedType"));
    typeNames.insert(12, tr("MusicID"));
    typeNames.insert(13, tr("ReboinInfo"));
    typeNames.insert(14, tr("EFWhenGet"));
    typeNames.insert(15, tr("EFAfterGet"));
    typeNames.insert(16, tr("GetItemWhenAction"));
    typeNames.insert(17, tr("Lianhua"));
    typeNames.insert(18, tr("GetItemAfterAction"));
    fields.namedField().setNames(typeNames);
    showEntry(entry);
}
