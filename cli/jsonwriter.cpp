#include "jsonwriter.h"

#include <charconv>
#include <cstring>

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
    // The comma, the new line, the indent and the key, appended at once: an
    // append each had been a fifth of an export.
    char start[2 + MostIndent + 2 + KeyRoom + 3];
    int size = 0;
    if (!empty.last())
        start[size++] = ',';
    empty.last() = false;
    start[size++] = '\n';
    const int indent = qMin(int(empty.size()) * 2, MostIndent);
    std::memset(start + size, ' ', size_t(indent));
    size += indent;
    if (key) {
        const size_t length = qstrnlen(key, KeyRoom + 1);
        Q_ASSERT(length <= KeyRoom);
        start[size++] = '"';
        std::memcpy(start + size, key, length);
        size += int(length);
        std::memcpy(start + size, "\": ", 3);
        size += 3;
    }
    text.append(start, size);
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
    static const char indent[] = "\n                    ";
    static_assert(sizeof indent == 2 + MostIndent);
    text.append(indent, 1 + qMin(int(empty.size()) * 2, MostIndent));
}
