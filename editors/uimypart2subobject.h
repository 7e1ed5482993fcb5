#pragma once

#include "resrecords.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QWidget>

// The form of one Part2 entry: nine integers and the named effect type.
class UiMyPart2SubObject : public QWidget
{
    Q_OBJECT

public:
    UiMyPart2SubObject(QWidget *parent, Part2SubObject *entry);

private:
    void onUnknown2Changed(const QString &text);
    void onUnknown3Changed(const QString &text);
    void onEffectTypeChanged(const QString &text);
    void onCycleChanged(const QString &text);
    void onActionTypeChanged(const QString &text);
    void onUnknonw6Changed(const QString &text);
    void onTypeValueChanged(const QString &text);
    void onUnknown8Changed(const QString &text);
    void onUnknown9Changed(const QString &text);
    void onUnknown10Changed(const QString &text);

    Part2SubObject *entry;
    // Looked up by the translated name the combo box shows.
    QMap<int, QString> effectTypeNames;
    QGridLayout layout;
    QLabel unknown2Label;
    QLabel unknown3Label;
    QLabel effectTypeLabel;
    QLabel cycleLabel;
    QLabel actionTypeLabel;
    QLabel unknonw6Label;
    QLabel typeValueLabel;
    QLabel unknown8Label;
    QLabel unknown9Label;
    QLabel unknown10Label;
    QLineEdit unknown2Edit;
    QLineEdit unknown3Edit;
    QLineEdit cycleEdit;
    QLineEdit actionTypeEdit;
    QLineEdit unknonw6Edit;
    QLineEdit typeValueEdit;
    QLineEdit unknown8Edit;
    QLineEdit unknown9Edit;
    QLineEdit unknown10Edit;
    QComboBox effectTypeBox;
};
