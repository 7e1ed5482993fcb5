#pragma once

#include "resrecords.h"

#include "choicebox.h"
#include "sharedsize.h"
#include "integeredit.h"

#include <QGridLayout>
#include <QWidget>

// The form of one Part1 entry: its named type and two values. Each field's
// widget writes every change into the entry at once.
class UiMyPart1SubObject : public QWidget
{
    Q_OBJECT

public:
    UiMyPart1SubObject(QWidget *parent, Part1SubObject *entry);

    // Shows and edits another entry from now on; showing it writes nothing. A
    // null entry leaves the form writing nowhere, for when the table it showed
    // is about to move.
    void showEntry(Part1SubObject *shown);

private:
    QGridLayout layout;
    FieldLabel typeLabel;
    FieldLabel value1Label;
    FieldLabel value2Label;
    ChoiceBox typeBox;
    IntegerEdit value1Edit;
    IntegerEdit value2Edit;
};
