#pragma once

#include "resrecords.h"

#include <QByteArray>
#include <QString>

// Record strings carry no marker of their encoding. Each is decoded both as
// GB18030 and as Big5, and shown in the decoding that reads as Chinese text: a
// decoding with an invalid or unassigned character loses, and of two valid ones
// the cheaper wins, where a reading costs the bits of its cheapest split into
// characters and two-character pieces of words, in simplified or traditional
// text. The texts of one file are mostly in one encoding, so a text that reads
// about as well both ways leans toward the encoding that the file's clear texts
// are in. A tie (plain ASCII, the empty string) goes to GB18030. Edited text is
// always stored as GB18030.

// The bytes of a string slot before its first zero byte.
QByteArray recordTextBytes(const ResString &string);

// How a string is shown: its text and the name of the encoding it was decoded
// with, "gb18030" or "big5" ("utf-8" for a model name).
struct RecordText
{
    QString text;
    const char *encoding;
};

// Weighs a sample of a few thousand texts of the objects, spread over them.
TextEvidence weighTexts(const QVector<ResObject> &objects);

// Reads the bytes before the first zero byte, with the evidence of the file
// they are a text of.
RecordText readRecordText(const QByteArray &bytes, const TextEvidence &evidence);
QString decodeRecordText(const QByteArray &bytes, const TextEvidence &evidence);
// Encodes text in an encoding that RecordText names, by default as edited text
// is stored.
QByteArray encodeRecordText(const QString &text, const char *encoding = "gb18030");
// Decodes all of bytes in an encoding that RecordText names; a sequence they
// leave unfinished reads as a replacement character.
QString decodeInEncoding(const QByteArray &bytes, const char *encoding);

// Model names (String2) are shown as UTF-8 when their bytes are valid UTF-8 of
// ASCII and the characters of Chinese, Japanese and Korean names; other bytes
// are read as the other strings are, with valid UTF-8 as a third reading to
// weigh, so that the GB18030 bytes that this editor stores there are not
// garbled into Latin or Cyrillic letters.
RecordText readModelNameText(const QByteArray &bytes, const TextEvidence &evidence);
QString decodeModelNameText(const QByteArray &bytes, const TextEvidence &evidence);

// Stores text as GB18030 with its terminating zero byte; an empty text is
// stored as the zero byte alone, as a new object's strings are. Text whose
// encoding does not fit the slot is cut to the longest prefix of whole
// characters that fits. Returns the number of UTF-16 units of text stored.
int storeRecordText(ResString &string, const QString &text);
