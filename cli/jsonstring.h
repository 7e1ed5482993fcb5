#pragma once

#include "recordtext.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <optional>

class JsonWriter;

// The JSON form of one string of an object, both ways: {"text": ...,
// "encoding": ...} when its bytes are text in the encoding the editor shows it
// with, else {"hex": ...} with all its stored bytes.
class JsonString
{
    Q_DECLARE_TR_FUNCTIONS(JsonImport)

public:
    // A string goes out as text only when importing that text in that encoding
    // stores exactly its bytes again.
    static void write(JsonWriter &json, const ResString &string, bool modelName,
            const TextEvidence &evidence);

    // What is wrong with a string's JSON form, and at which of its keys.
    struct Fault
    {
        const char *key;
        QString reason;
    };
    // Stores the string of that field from the values of its keys, each null
    // when not given: a text without an encoding is GB18030.
    static std::optional<Fault> read(ResString &string, const char *field, const QByteArray *text,
            const QByteArray *encoding, const QByteArray *hex);

    // The bytes of hex digits, or a reason to refuse them.
    static bool hexBytes(const QByteArray &digits, QByteArray *bytes, QString *reason);

private:
    static std::optional<Fault> readText(
            ResString &string, const QByteArray &utf8, const QByteArray *encodingName);
};
