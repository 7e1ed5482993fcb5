#include "integeredit.h"

#include "filterdigits.h"

#include <QFocusEvent>

IntegerEdit::IntegerEdit()
{
    setValidator(&validator);
}

void IntegerEdit::showField(const qint32 *field)
{
    stored = field;
    setText(QString::number(*stored, 10));
}

void IntegerEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu takes the focus in the middle of an edit.
    const QString shown = stored ? QString::number(*stored, 10) : text();
    if (event->reason() != Qt::PopupFocusReason && text() != shown)
        setText(shown);
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
