#include "uimypart1subobject.h"

#include "formfields.h"

#include <QMap>

UiMyPart1SubObject::UiMyPart1SubObject(QWidget *parent, Part1SubObject *entry)
    : QWidget(parent)
    , entry(entry)
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

    connect(&typeBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &UiMyPart1SubObject::onTypeChanged);
    connect(&value1Edit, &QLineEdit::textChanged, this, &UiMyPart1SubObject::onValue1Changed);
    connect(&value2Edit, &QLineEdit::textChanged, this, &UiMyPart1SubObject::onValue2Changed);
}

void UiMyPart1SubObject::showEntry(Part1SubObject *shown)
{
    entry = shown;
    const QSignalBlocker blockers[] = { QSignalBlocker(typeBox), QSignalBlocker(value1Edit),
        QSignalBlocker(value2Edit) };
    typeBox.showValue(entry->Type);
    value1Edit.showField(&entry->Value1);
    value2Edit.showField(&entry->Value2);
}

void UiMyPart1SubObject::onTypeChanged()
{
    entry->Type = typeBox.value();
}

void UiMyPart1SubObject::onValue1Changed(const QString &text)
{
    storeIntegerText(entry->Value1, text);
}

void UiMyPart1SubObject::onValue2Changed(const QString &text)
{
    storeIntegerText(entry->Value2, text);
}
