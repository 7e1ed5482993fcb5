#include "integerfield.h"

#include "filterdigits.h"

#include <QLineEdit>

void storeIntegerText(QLineEdit &edit, qint32 &field, const QString &text)
{
    const QString digits = filterDigits(text);
    edit.setText(digits);
    if (!digits.isEmpty())
        field = digits.toInt(nullptr, 10);
}

void storeNamedValue(const QMap<int, QString> &names, qint32 &field, const QString &text)
{
    for (auto name = names.cbegin(); name != names.cend(); ++name) {
        if (name.value() == text) {
            field = name.key();
            return;
        }
    }
}
