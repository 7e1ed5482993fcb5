#pragma once

#include "resrecords.h"

#include <QByteArray>
#include <QString>

// The one check and the one way to set the stored bytes of a string slot: a
// length of 1 to 254 bytes that hold a zero byte, the last of them or earlier.

// Why a string of that name cannot be stored with that length, or an empty
// string when it can.
QString stringLengthFault(const char *name, qint64 length);
// Why a string of that name cannot be stored as those size bytes: a length it
// cannot have, or no zero byte among them; an empty string when it can. The
// bytes are given by pointer, as a reader of a file holds them: Qt 5 allocates
// for a QByteArray even over raw data.
QString storedStringFault(const char *name, const char *stored, qint64 size);

// Sets the string to stored bytes that storedStringFault() takes.
void setStoredBytes(ResString &string, const char *stored, qint64 size);
// Sets the string to text bytes and the zero byte after them; they must leave
// room for it.
void setStoredText(ResString &string, const QByteArray &text);

// The stored bytes of a string, its zero byte included.
inline QByteArray storedBytes(const ResString &string)
{
    return QByteArray(string.Text, string.Length);
}

bool sameString(const ResString &a, const ResString &b);

// "1 byte", "2 bytes", for the messages that count bytes.
QString byteCount(qint64 count);
