#include "jsonstring.h"

#include "jsonform.h"
#include "jsonwriter.h"
#include "resmatch.h"
#include "resstring.h"

#include <algorithm>
#include <cctype>

namespace {

// All of the bytes, a zero byte included: Qt 5 would stop at one.
QString utf8Text(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

} // namespace

void JsonString::write(
        JsonWriter &json, const ResString &string, bool modelName, const TextEvidence &evidence)
{
    json.open('{');
    if (const std::optional<RecordText> shown = storedText(string, modelName, evidence)) {
        json.next(TextKey);
        json.string(shown->text.toUtf8());
        json.next(EncodingKey);
        json.string(encodingName(shown->encoding));
    } else {
        json.next(HexKey);
        json.string(storedBytes(string).toHex());
    }
    json.close('}');
}

bool JsonString::hexBytes(const QByteArray &digits, QByteArray *bytes, QString *reason)
{
    const auto notHex = std::find_if(
            digits.begin(), digits.end(), [](char c) { return !std::isxdigit(uchar(c)); });
    if (notHex != digits.end()) {
        const QString rest = QString::fromUtf8(notHex, int(digits.end() - notHex));
        *reason = tr("'%1' is not a hex digit.").arg(rest.left(1));
        return false;
    }
    if (digits.size() % 2 != 0) {
        *reason = tr("an odd number of hex digits (%1).").arg(digits.size());
        return false;
    }
    *bytes = QByteArray::fromHex(digits);
    return true;
}

std::optional<JsonString::Fault> JsonString::read(ResString &string, const char *field,
        const QByteArray *text, const QByteArray *encoding, const QByteArray *hex)
{
    if (!hex) {
        if (!text)
            return Fault { TextKey, tr("the field is missing.") };
        return readText(string, *text, encoding);
    }
    // Hex is all of a string's bytes: it has no encoding.
    if (text || encoding)
        return Fault { text ? TextKey : EncodingKey, tr("there is no such field.") };
    QByteArray bytes;
    QString reason;
    if (!hexBytes(*hex, &bytes, &reason))
        return Fault { HexKey, reason };
    reason = storedStringFault(field, bytes.constData(), bytes.size());
    if (!reason.isEmpty())
        return Fault { HexKey, reason };
    setStoredBytes(string, bytes.constData(), bytes.size());
    return std::nullopt;
}

std::optional<JsonString::Fault> JsonString::readText(
        ResString &string, const QByteArray &utf8, const QByteArray *encodingName)
{
    const QString name = encodingName ? utf8Text(*encodingName)
                                      : QLatin1String(::encodingName(TextEncoding::Gb18030));
    const std::optional<TextEncoding> encoding = encodingNamed(name);
    if (!encoding)
        return Fault { EncodingKey,
            tr("unknown encoding \"%1\"; use %2, %3 or %4.")
                    .arg(quotedName(name), QLatin1String(::encodingName(TextEncoding::Gb18030)),
                            QLatin1String(::encodingName(TextEncoding::Big5)),
                            QLatin1String(::encodingName(TextEncoding::Utf8))) };

    const QString text = utf8Text(utf8);
    if (text.contains(QChar(0)))
        return Fault { TextKey, tr("a zero character would end the string there.") };
    const auto readsBack = [encoding](const QString &text) {
        return decodeInEncoding(encodeRecordText(text, *encoding), *encoding) == text;
    };
    const QByteArray bytes = encodeRecordText(text, *encoding);
    if (decodeInEncoding(bytes, *encoding) != text) {
        const auto characters = text.toUcs4();
        const auto lost = std::find_if(characters.begin(), characters.end(), [&](uint c) {
            const char32_t unit = c;
            return !readsBack(QString::fromUcs4(&unit, 1));
        });
        const char32_t character = lost == characters.end() ? 0 : *lost;
        return Fault {
            TextKey,
            tr("%1 cannot represent \"%2\" (U+%3); a text without \"encoding\" is stored as "
               "GB18030.")
                    .arg(name, QString::fromUcs4(&character, 1),
                            QString::number(uint(character), 16).toUpper().rightJustified(4, '0'))
        };
    }
    if (bytes.size() > ResStringMaxTextBytes) {
        return Fault { TextKey,
            tr("the text takes %1 bytes in %2; at most %3 fit.")
                    .arg(bytes.size())
                    .arg(name)
                    .arg(ResStringMaxTextBytes) };
    }
    setStoredText(string, bytes);
    return std::nullopt;
}
