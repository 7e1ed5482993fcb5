#pragma once

#include "resfields.h"

#include "choicebox.h"
#include "integeredit.h"
#include "sharedsize.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QString>

#include <array>
#include <iterator>

// A field's name as its form labels it, in the interface's language.
inline QString fieldLabel(const char *name)
{
    return QCoreApplication::translate("ResFields", name);
}

// Places a grid row of a form, as every record form lays out its fields: the
// label with its text in column 0, the value widget in column 1.
void addFormRow(QGridLayout &layout, int row, QLabel &label, QWidget &value, const QString &text);

// The rows of the form of a table's entry, one per field of the table in its
// order: a choice box for the one field with named values, a number field for
// each of the others. Each widget writes every change into the entry shown.
template<typename Entry, size_t FieldCount>
class EntryFields
{
public:
    EntryFields(QGridLayout &layout, const IntegerField<Entry> (&fields)[FieldCount])
        : fields(fields)
    {
        auto edit = edits.begin();
        for (size_t i = 0; i < FieldCount; ++i) {
            QWidget &value = fields[i].namedValues ? static_cast<QWidget &>(choice) : *edit++;
            addFormRow(layout, int(i), labels[i], value, fieldLabel(fields[i].name));
        }
    }

    ChoiceBox &namedField() { return choice; }

    // Shows and edits another entry from now on; showing it writes nothing. A
    // null entry leaves the widgets writing nowhere.
    void showEntry(Entry *entry)
    {
        auto edit = edits.begin();
        for (const IntegerField<Entry> &field : fields) {
            qint32 *member = entry ? &(entry->*field.member) : nullptr;
            if (field.namedValues)
                choice.showField(member);
            else
                (edit++)->showField(member);
        }
    }

private:
    const IntegerField<Entry> (&fields)[FieldCount];
    std::array<FieldLabel, FieldCount> labels;
    std::array<IntegerEdit, FieldCount - 1> edits;
    ChoiceBox choice;
};
