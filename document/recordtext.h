#pragma once

#include "resrecords.h"

#include <QByteArray>
#include <QString>

#include <optional>

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

// The encodings of record strings: GB18030 and Big5, and UTF-8 for model names.
enum class TextEncoding { Gb18030, Big5, Utf8 };

// "gb18030", "big5" or "utf-8", as the JSON form names them.
const char *encodingName(TextEncoding encoding);
// The encoding of that name; none for any other name.
std::optional<TextEncoding> encodingNamed(const QString &name);

// How a string is shown: its text and the encoding it was decoded with.
struct RecordText
{
    QString text;
    TextEncoding encoding;
};

// Weighs a sample of a few thousand texts of the objects, spread over them.
TextEvidence weighTexts(const QVector<ResObject> &objects);
// The evidence of the file's texts, weighed the first time it is asked for: ask
// once before threads share the contents.
const TextEvidence &textEvidenceOf(const ResStruct &contents);

// Reads the bytes before the first zero byte, with the evidence of the file
// they are a text of.
RecordText readRecordText(const QByteArray &bytes, const TextEvidence &evidence);
QString decodeRecordText(const QByteArray &bytes, const TextEvidence &evidence);
// Encodes text in an encoding, by default as edited text is stored.
QByteArray encodeRecordText(const QString &text, TextEncoding encoding = TextEncoding::Gb18030);
// Decodes all of bytes in an encoding; a sequence they leave unfinished reads as
// a replacement character.
QString decodeInEncoding(const QByteArray &bytes, TextEncoding encoding);

// Model names (String2) are shown as UTF-8 when their bytes are valid UTF-8 of
// ASCII and the characters of Chinese, Japanese and Korean names; other bytes
// are read as the other strings are, with valid UTF-8 as a third reading to
// weigh, so that the GB18030 bytes that this editor stores there are not
// garbled into Latin or Cyrillic letters.
RecordText readModelNameText(const QByteArray &bytes, const TextEvidence &evidence);

// A string of an object as it is shown: a model name by readModelNameText(),
// the others by readRecordText().
RecordText readStoredText(const ResString &string, bool modelName, const TextEvidence &evidence);

// Stores text as GB18030 with its terminating zero byte; an empty text is
// stored as the zero byte alone, as a new object's strings are. Text whose
// encoding does not fit the slot is cut to the longest prefix of whole
// characters that fits. Returns the number of UTF-16 units of text stored.
int storeRecordText(ResString &string, const QString &text);
