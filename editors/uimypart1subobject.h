#pragma once

#include "formfields.h"

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
    void showEntry(Part1SubObject *shown) { fields.showEntry(shown); }

private:
    QGridLayout layout;
    EntryFields<Part1SubObject, std::size(Part1Fields)> fields;
};
