#pragma once

#include <QString>

#include <initializer_list>

class QGridLayout;
class QLabel;
class QWidget;

// What every record form shares: one grid row per field, and the write-back of
// integer and named fields.

struct FormRow
{
    QLabel &label;
    QWidget &value;
    QString text;
};

// Places the rows from the top, each label in column 0 with its text and its
// value widget in column 1.
void addFormRows(QGridLayout &layout, std::initializer_list<FormRow> rows);

// The write-back shared by the integer fields of every form, whose line edits
// hold only numbers within the int32 range: an empty text stores nothing, and
// "-" alone stores 0.
void storeIntegerText(qint32 &field, const QString &text);
