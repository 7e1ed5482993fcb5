#pragma once

#include "resrecords.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QWidget>

// The form of one Part1 entry: its named type and two values.
class UiMyPart1SubObject : public QWidget
{
    Q_OBJECT

public:
    UiMyPart1SubObject(QWidget *parent, Part1SubObject *entry);

private:
    void onTypeChanged(const QString &text);
    void onValue1Changed(const QString &text);
    void onValue2Changed(const QString &text);

    Part1SubObject *entry;
    QGridLayout layout;
    QLabel typeLabel;
    QLabel value1Label;
    QLabel value2Label;
    QComboBox typeBox;
    QLineEdit value1Edit;
    QLineEdit value2Edit;
    // Looked up by the translated name the combo box shows.
    QMap<int, QString> typeNames;
};
