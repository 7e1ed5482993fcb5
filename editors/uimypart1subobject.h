#pragma once

#include "resrecords.h"

#include "choicebox.h"
#include "sharedsize.h"
#include "integeredit.h"

#include <QGridLayout>
#include <QWidget>

// The form of one Part1 entry: its named type and two values.
class UiMyPart1SubObject : public QWidget
{
    Q_OBJECT

public:
    UiMyPart1SubObject(QWidget *parent, Part1SubObject *entry);

    // Shows and edits another entry from now on; showing it writes nothing.
    void showEntry(Part1SubObject *shown);

private:
    void onTypeChanged();
    void onValue1Changed(const QString &text);
    void onValue2Changed(const QString &text);

    Part1SubObject *entry;
    QGridLayout layout;
    FieldLabel typeLabel;
    FieldLabel value1Label;
    FieldLabel value2Label;
    ChoiceBox typeBox;
    IntegerEdit value1Edit;
    IntegerEdit value2Edit;
};
