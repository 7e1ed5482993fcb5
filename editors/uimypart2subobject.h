#pragma once

#include "resrecords.h"

#include "choicebox.h"
#include "sharedsize.h"
#include "integeredit.h"

#include <QGridLayout>
#include <QWidget>

// The form of one Part2 entry: nine integers and the named effect type. Each
// field's widget writes every change into the entry at once.
class UiMyPart2SubObject : public QWidget
{
    Q_OBJECT

public:
    UiMyPart2SubObject(QWidget *parent, Part2SubObject *entry);

    // Shows and edits another entry from now on; showing it writes nothing. A
    // null entry leaves the form writing nowhere, for when the table it showed
    // is about to move.
    void showEntry(Part2SubObject *shown);

private:
    QGridLayout layout;
    FieldLabel unknown2Label;
    FieldLabel unknown3Label;
    FieldLabel effectTypeLabel;
    FieldLabel cycleLabel;
    FieldLabel actionTypeLabel;
    FieldLabel unknonw6Label;
    FieldLabel typeValueLabel;
    FieldLabel unknown8Label;
    FieldLabel unknown9Label;
    FieldLabel unknown10Label;
    IntegerEdit unknown2Edit;
    IntegerEdit unknown3Edit;
    IntegerEdit cycleEdit;
    IntegerEdit actionTypeEdit;
    IntegerEdit unknonw6Edit;
    IntegerEdit typeValueEdit;
    IntegerEdit unknown8Edit;
    IntegerEdit unknown9Edit;
    IntegerEdit unknown10Edit;
    ChoiceBox effectTypeBox;
};
