#pragma once

#include "resrecords.h"

#include <QByteArray>
#include <QString>

// Record strings carry no marker of their encoding: each is scored, and shown as
// Big5 when it looks like Big5, else as GB18030. Edited text is always stored as
// GB18030.

// The bytes of a string slot before its first zero byte.
QByteArray recordTextBytes(const ResString &string);

// Positive when the bytes before the first zero byte look like Big5.
int big5Score(const QByteArray &bytes);
// The name of the encoding a string is shown with: "big5" when its score is
// above zero, else "gb18030".
const char *recordTextEncoding(const QByteArray &bytes);
QString decodeRecordText(const QByteArray &bytes);
QByteArray encodeRecordText(const QString &text);

// Model names (String2) are shown as UTF-8 when their bytes are valid UTF-8, so
// ASCII names read as they are; other bytes go through decodeRecordText, so that
// a GB18030 or Big5 name is not garbled into replacement characters.
// modelNameEncoding() names the encoding: "utf-8" or that of recordTextEncoding().
const char *modelNameEncoding(const QByteArray &bytes);
QString decodeModelNameText(const QByteArray &bytes);

// Stores text as GB18030 with its terminating zero byte; an empty text is
// stored as the zero byte alone, as a new object's strings are. Text whose
// encoding does not fit the slot is cut to the longest prefix of whole
// characters that fits. Returns the number of UTF-16 units of text stored.
int storeRecordText(ResString &string, const QString &text);
