#pragma once

#include <QString>

// Keeps the decimal digits of text, in order, and a leading minus sign when the
// text starts with one. Digits of other scripts (full-width digits from an input
// method, for instance) are kept as their ASCII digits, so that QString::toInt
// reads them.
QString filterDigits(const QString &text);
