#include "filterdigits.h"

QString filterDigits(const QString &text)
{
    QString result;
    result.reserve(text.size() + 1);
    if (text.startsWith(QLatin1Char('-')))
        result += QLatin1Char('-');
    for (const QChar character : text) {
        if (character.isDigit())
            result += QLatin1Char(char('0' + character.digitValue()));
    }
    return result;
}
