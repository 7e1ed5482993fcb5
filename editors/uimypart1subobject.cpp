#include "uimypart1subobject.h"

#include "formfields.h"

#include <QMap>

UiMyPart1SubObject::UiMyPart1SubObject(QWidget *parent, Part1SubObject *entry)
    : QWidget(parent)
{
    setLayout(&layout);
    addFormRows(layout,
            {
                    { typeLabel, typeBox, tr("Type") },
                    { value1Label, value1Edit, tr("Value1") },
                    { value2Label, value2Edit, tr("Value2") },
            });

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
    typeBox.setNames(typeNames);
    showEntry(entry);
}

void UiMyPart1SubObject::showEntry(Part1SubObject *shown)
{
    typeBox.showField(shown ? &shown->Type : nullptr);
    value1Edit.showField(shown ? &shown->Value1 : nullptr);
    value2Edit.showField(shown ? &shown->Value2 : nullptr);
}
