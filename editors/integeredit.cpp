#include "integeredit.h"

#include "filterdigits.h"

#include <QFocusEvent>

IntegerEdit::IntegerEdit()
{
    setValidator(&validator);
    connect(this, &QLineEdit::textChanged, this, &IntegerEdit::store);
}

void IntegerEdit::showField(qint32 *shown)
{
    field = nullptr;
    if (shown)
        setText(QString::number(*shown, 10));
    field = shown;
}

void IntegerEdit::store(const QString &text)
{
    if (field && !text.isEmpty())
        *field = text.toInt(nullptr, 10);
}

void IntegerEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu takes the focus in the middle of an edit.
    if (field && event->reason() != Qt::PopupFocusReason) {
        const QString stored = QString::number(*field, 10);
        if (text() != stored)
            setText(stored);
    }
}

QValidator::State IntegerEdit::Validator::validate(QString &input, int &position) const
{
    const QString digits = filterDigits(input);
    bool inRange = true;
    if (!digits.isEmpty() && digits != QLatin1String("-"))
        digits.toInt(&inRange, 10);
    // Returning Invalid makes the line edit undo the edit that led here.
    if (!inRange || (digits != input && digits == accepted))
        return Invalid;
    if (digits != input) {
        position = filterDigits(input.left(position)).size();
        input = digits;
    }
    accepted = input;
    return Acceptable;
}
