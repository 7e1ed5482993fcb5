#include "jsonwriter.h"

#include <charconv>

JsonWriter::JsonWriter(int depth, bool membersBefore)
    : empty(depth, false)
{
    empty.last() = !membersBefore;
}

void JsonWriter::open(char bracket)
{
    text += bracket;
    empty.append(true);
}

void JsonWriter::close(char bracket)
{
    const bool wasEmpty = empty.takeLast();
    if (!wasEmpty)
        newLine();
    text += bracket;
}

void JsonWriter::next(const char *key)
{
    if (!empty.last())
        text += ',';
    empty.last() = false;
    newLine();
    if (key) {
        text += '"';
        text += key;
        text += "\": ";
    }
}

void JsonWriter::number(qint32 value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, int(end - digits));
}

void JsonWriter::string(const QByteArray &utf8)
{
    static const char hexDigits[] = "0123456789abcdef";
    text += '"';
    // Runs of bytes that need no escape are copied at once.
    const char *run = utf8.constData();
    const char *const end = run + utf8.size();
    for (const char *byte = run; byte != end; ++byte) {
        const char *escape = nullptr;
        switch (*byte) {
        case '"':
            escape = "\\\"";
            break;
        case '\\':
            escape = "\\\\";
            break;
        case '\b':
            escape = "\\b";
            break;
        case '\f':
            escape = "\\f";
            break;
        case '\n':
            escape = "\\n";
            break;
        case '\r':
            escape = "\\r";
            break;
        case '\t':
            escape = "\\t";
            break;
        default:
            if (uchar(*byte) >= 0x20 && *byte != '\x7f')
                continue;
        }
        text.append(run, int(byte - run));
        run = byte + 1;
        if (escape) {
            text += escape;
        } else {
            const char unicode[] = { '\\', 'u', '0', '0', hexDigits[uchar(*byte) >> 4],
                hexDigits[*byte & 0xf] };
            text.append(unicode, int(sizeof unicode));
        }
    }
    text.append(run, int(end - run));
    text += '"';
}

void JsonWriter::newLine()
{
    // Deeper than a RES file's JSON goes.
    static const char indent[] = "\n                    ";
    text.append(indent, qMin(1 + int(empty.size()) * 2, int(sizeof indent) - 1));
}
