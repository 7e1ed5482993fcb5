#pragma once

#include "formfields.h"

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
    void showEntry(Part2SubObject *shown) { fields.showEntry(shown); }

private:
    QGridLayout layout;
    EntryFields<Part2SubObject, std::size(Part2Fields)> fields;
};
