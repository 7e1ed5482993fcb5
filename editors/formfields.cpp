#include "formfields.h"

#include <QLabel>

void addFormRow(QGridLayout &layout, int row, QLabel &label, QWidget &value, const QString &text)
{
    layout.addWidget(&label, row, 0);
    layout.addWidget(&value, row, 1);
    label.setText(text);
}
