#include "recordtext.h"

#include <QTextCodec>

#include <cstring>

namespace {

bool inRange(uchar byte, uchar low, uchar high)
{
    return byte >= low && byte <= high;
}

QByteArray beforeFirstZero(const QByteArray &bytes)
{
    const int zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

// Each codec is looked up once. Qt does not cache lookups by name: each one
// takes a lock, resolves the name through the converter library's alias table
// and compares it with every codec's names, which costs more than decoding a
// short string, and the tree decodes two strings of every object.
QTextCodec *gb18030()
{
    static QTextCodec *const codec = QTextCodec::codecForName("gb18030");
    return codec;
}

QTextCodec *big5()
{
    static QTextCodec *const codec = QTextCodec::codecForName("big5");
    return codec;
}

QTextCodec *utf8()
{
    static QTextCodec *const codec = QTextCodec::codecForName("UTF-8");
    return codec;
}

const char Gb18030Name[] = "gb18030";
const char Big5Name[] = "big5";
const char Utf8Name[] = "utf-8";

// Takes only the names above, as the encoding functions return them.
QTextCodec *codecFor(const char *encoding)
{
    return encoding == Big5Name ? big5() : encoding == Utf8Name ? utf8() : gb18030();
}

} // namespace

QByteArray recordTextBytes(const ResString &string)
{
    return QByteArray(string.Text, int(qstrnlen(string.Text, ResStringSlotSize)));
}

int big5Score(const QByteArray &bytes)
{
    const QByteArray text = beforeFirstZero(bytes);
    int big5Points = 0;
    int gbPoints = 0;
    // Every pair of adjacent bytes is scored, overlapping: each byte but the
    // first is a trail once and each byte but the last a lead once.
    for (int i = 0; i + 1 < text.size(); ++i) {
        const uchar lead = uchar(text[i]);
        const uchar trail = uchar(text[i + 1]);
        if (inRange(lead, 0xA1, 0xFE) && inRange(trail, 0x40, 0x7E))
            ++big5Points;
        if (inRange(lead, 0xA4, 0xA9) && inRange(trail, 0xA1, 0xFE))
            ++big5Points;
        if (inRange(lead, 0xAA, 0xAF) && inRange(trail, 0xA1, 0xFE))
            ++big5Points;
        if (inRange(lead, 0xC4, 0xD7) && inRange(trail, 0xA1, 0xFE))
            ++gbPoints;
    }
    return big5Points - gbPoints;
}

const char *recordTextEncoding(const QByteArray &bytes)
{
    return big5Score(bytes) > 0 ? Big5Name : Gb18030Name;
}

QString decodeRecordText(const QByteArray &bytes)
{
    const QByteArray text = beforeFirstZero(bytes);
    return codecFor(recordTextEncoding(text))->toUnicode(text);
}

QByteArray encodeRecordText(const QString &text)
{
    return gb18030()->fromUnicode(text);
}

const char *modelNameEncoding(const QByteArray &bytes)
{
    const QByteArray text = beforeFirstZero(bytes);
    QTextCodec::ConverterState state;
    utf8()->toUnicode(text.constData(), text.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0 ? Utf8Name
                                                                : recordTextEncoding(text);
}

QString decodeModelNameText(const QByteArray &bytes)
{
    const QByteArray text = beforeFirstZero(bytes);
    return codecFor(modelNameEncoding(text))->toUnicode(text);
}

int storeRecordText(ResString &string, const QString &text)
{
    QByteArray encoded = encodeRecordText(text);
    int kept = text.size();
    if (encoded.size() > ResStringMaxTextBytes) {
        // GB18030 encodes each character on its own, so the prefix that fits is
        // found by adding up whole characters; a surrogate pair stays together.
        QTextCodec *codec = gb18030();
        encoded.clear();
        kept = 0;
        while (kept < text.size()) {
            const int units = text.at(kept).isHighSurrogate() && kept + 1 < text.size()
                            && text.at(kept + 1).isLowSurrogate()
                    ? 2
                    : 1;
            const QByteArray character = codec->fromUnicode(text.constData() + kept, units);
            if (encoded.size() + character.size() > ResStringMaxTextBytes)
                break;
            encoded += character;
            kept += units;
        }
    }

    std::memcpy(string.Text, encoded.constData(), size_t(encoded.size()));
    string.Text[encoded.size()] = '\0';
    string.Length = encoded.size() + 1;
    return kept;
}
