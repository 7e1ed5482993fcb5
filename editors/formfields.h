#pragma once

#include <QString>

#include <initializer_list>

class QGridLayout;
class QLabel;
class QWidget;

// One grid row per field, as every record form lays out its fields.
struct FormRow
{
    QLabel &label;
    QWidget &value;
    QString text;
};

// Places the rows from the top, each label in column 0 with its text and its
// value widget in column 1.
void addFormRows(QGridLayout &layout, std::initializer_list<FormRow> rows);
