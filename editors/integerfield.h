#pragma once

#include <QMap>
#include <QString>

class QLineEdit;

// The write-back shared by the integer fields of every form: the typed text is
// filtered to digits, shown filtered, and stored unless it is empty. A text that
// is not a number ("-" alone, or beyond the int32 range) stores 0.
void storeIntegerText(QLineEdit &edit, qint32 &field, const QString &text);

// The write-back of a named field: the first value, in ascending order, whose
// name is text is stored; a text that names nothing stores nothing.
void storeNamedValue(const QMap<int, QString> &names, qint32 &field, const QString &text);
