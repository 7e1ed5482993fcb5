#include "formfields.h"

#include <QGridLayout>
#include <QLabel>

void addFormRows(QGridLayout &layout, std::initializer_list<FormRow> rows)
{
    int row = 0;
    for (const FormRow &field : rows) {
        layout.addWidget(&field.label, row, 0);
        layout.addWidget(&field.value, row, 1);
        field.label.setText(field.text);
        ++row;
    }
}
