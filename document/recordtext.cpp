#include "recordtext.h"

#include <QTextCodec>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <utility>

namespace {

struct CommonCharacter
{
    char16_t character;
    quint8 cost;
};

// The common characters of Chinese text, simplified and traditional, each with
// its cost in bits: the less common, the higher.
constexpr CommonCharacter CommonCharacters[] = {
#include "commonchars.inc"
};

constexpr int highestCommonCost()
{
    int highest = 0;
    for (const CommonCharacter &entry : CommonCharacters)
        highest = entry.cost > highest ? entry.cost : highest;
    return highest;
}

// Costs of the characters outside the table. A Han character outside it is rarer
// than any in it. ASCII reads alike in both encodings. Punctuation and symbols
// turn up in names; letters of other scripts (kana, Greek, bopomofo), box
// drawing and mathematical signs are what Chinese text read in the wrong
// encoding turns into.
constexpr int RareHanCost = highestCommonCost() + 3;
constexpr int AsciiCost = 8;
constexpr int SymbolCost = 14;
constexpr int OtherCost = 26;
// A character that no writer of the text can have meant.
constexpr int Impossible = -1;

QByteArray beforeFirstZero(const QByteArray &bytes)
{
    const int zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char byte) { return uchar(byte) < 0x80; });
}

bool isHan(uint character)
{
    return (character >= 0x4E00 && character <= 0x9FFF)
            || (character >= 0x3400 && character <= 0x4DBF)
            || (character >= 0xF900 && character <= 0xFAFF)
            || (character >= 0x20000 && character <= 0x3134F);
}

// The punctuation and symbols of names: Latin-1 signs, general punctuation,
// Roman numerals, arrows, geometric shapes, stars, CJK punctuation and the
// full-width forms of ASCII punctuation and digits.
bool isNameSymbol(uint character)
{
    static const std::pair<uint, uint> ranges[] = {
        { 0x00A0, 0x00FF },
        { 0x2010, 0x206F },
        { 0x2160, 0x217F },
        { 0x2190, 0x21FF },
        { 0x25A0, 0x26FF },
        { 0x3000, 0x3020 },
        { 0xFF01, 0xFF20 },
        { 0xFF3B, 0xFF40 },
        { 0xFF5B, 0xFF65 },
    };
    return std::any_of(std::begin(ranges), std::end(ranges), [character](const auto &range) {
        return character >= range.first && character <= range.second;
    });
}

int workedOutCost(uint character)
{
    const QChar::Category category = QChar::category(character);
    // The codecs decode a byte sequence they cannot read as U+FFFD or U+001A.
    if (character < 0xA0 || character == 0xFFFD || category == QChar::Other_NotAssigned
            || category == QChar::Other_PrivateUse || category == QChar::Other_Surrogate)
        return Impossible;
    if (character <= 0xFFFF) {
        const auto common = std::lower_bound(std::begin(CommonCharacters),
                std::end(CommonCharacters), character,
                [](const CommonCharacter &entry, uint c) { return entry.character < c; });
        if (common != std::end(CommonCharacters) && common->character == character)
            return common->cost;
    }
    if (isHan(character))
        return RareHanCost;
    return isNameSymbol(character) ? SymbolCost : OtherCost;
}

// Each character's cost is worked out once and then looked up: the strings of a
// file are decoded twice each, and the category and table search of every
// character took a fifth of exporting a file.
int characterCost(uint character)
{
    if (character >= 0x20 && character < 0x7F)
        return AsciiCost;
    if (character > 0xFFFF)
        return workedOutCost(character);
    // The cost plus two, so that 0 stands for not yet worked out (and Impossible
    // for 1); zero-initialised as a static.
    static std::atomic<qint8> known[0x10000];
    int cost = known[character].load(std::memory_order_relaxed);
    if (cost == 0) {
        cost = workedOutCost(character) + 2;
        known[character].store(qint8(cost), std::memory_order_relaxed);
    }
    return cost - 2;
}

// How unlikely text is as what a modder wrote, in bits; Impossible when it holds
// a character that cannot have been written.
int textCost(const QString &text)
{
    int cost = 0;
    for (int i = 0; i < text.size(); ++i) {
        uint character = text.at(i).unicode();
        if (QChar::isHighSurrogate(character) && i + 1 < text.size()
                && text.at(i + 1).isLowSurrogate())
            character = QChar::surrogateToUcs4(char16_t(character), text.at(++i).unicode());
        const int characterBits = characterCost(character);
        if (characterBits == Impossible)
            return Impossible;
        cost += characterBits;
    }
    return cost;
}

// Each codec is looked up once. Qt does not cache lookups by name: each one
// takes a lock, resolves the name through the converter library's alias table
// and compares it with every codec's names, which costs more than decoding a
// short string.
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

// A converter of the codec's, kept for the thread: without a state of its own,
// each conversion opens the converter library's converter anew, which cost most
// of the time of decoding a short string.
QTextCodec::ConverterState &converterOf(QTextCodec *codec)
{
    thread_local QTextCodec::ConverterState gb18030State, big5State;
    return codec == big5() ? big5State : gb18030State;
}

// Decodes all of text. A zero byte after it completes whatever sequence text
// leaves open, as a replacement character, so that nothing is carried over to
// the next string the kept converter decodes.
QString decoded(QTextCodec *codec, const QByteArray &text)
{
    QTextCodec::ConverterState &state = converterOf(codec);
    QString result = codec->toUnicode(text.constData(), text.size(), &state);
    result += codec->toUnicode("", 1, &state);
    result.chop(1);
    return result;
}

QTextCodec *codecOf(const char *encoding)
{
    return qstrcmp(encoding, Big5Name) == 0    ? big5()
            : qstrcmp(encoding, Utf8Name) == 0 ? utf8()
                                               : gb18030();
}

} // namespace

QByteArray recordTextBytes(const ResString &string)
{
    return QByteArray(string.Text, int(qstrnlen(string.Text, ResStringSlotSize)));
}

RecordText readRecordText(const QByteArray &bytes)
{
    const QByteArray text = beforeFirstZero(bytes);
    if (isAscii(text))
        return { QString::fromLatin1(text), Gb18030Name };
    RecordText asGb18030 { decoded(gb18030(), text), Gb18030Name };
    RecordText asBig5 { decoded(big5(), text), Big5Name };
    const int gbCost = textCost(asGb18030.text);
    const int big5Cost = textCost(asBig5.text);
    if (big5Cost != Impossible && (gbCost == Impossible || big5Cost < gbCost))
        return asBig5;
    return asGb18030;
}

QString decodeRecordText(const QByteArray &bytes)
{
    return readRecordText(bytes).text;
}

QByteArray encodeRecordText(const QString &text, const char *encoding)
{
    // ASCII is the same bytes in every encoding.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QTextCodec *codec = codecOf(encoding);
    // A whole text leaves no surrogate open in the kept converter. Qt's own
    // UTF-8 codec opens no converter, and would begin with a byte order mark.
    if (codec == utf8() || !text.isValidUtf16())
        return codec->fromUnicode(text);
    return codec->fromUnicode(text.constData(), text.size(), &converterOf(codec));
}

QString decodeInEncoding(const QByteArray &bytes, const char *encoding)
{
    QTextCodec *codec = codecOf(encoding);
    return codec == utf8() ? codec->toUnicode(bytes) : decoded(codec, bytes);
}

RecordText readModelNameText(const QByteArray &bytes)
{
    const QByteArray text = beforeFirstZero(bytes);
    QTextCodec::ConverterState state;
    const QString asUtf8 = utf8()->toUnicode(text.constData(), text.size(), &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return { asUtf8, Utf8Name };
    return readRecordText(text);
}

QString decodeModelNameText(const QByteArray &bytes)
{
    return readModelNameText(bytes).text;
}

int storeRecordText(ResString &string, const QString &text)
{
    QByteArray encoded = encodeRecordText(text);
    int kept = text.size();
    if (encoded.size() > ResStringMaxTextBytes) {
        // GB18030 encodes each character on its own, so the prefix that fits is
        // found by adding up whole characters; a surrogate pair stays together.
        encoded.clear();
        kept = 0;
        while (kept < text.size()) {
            const int units = text.at(kept).isHighSurrogate() && kept + 1 < text.size()
                            && text.at(kept + 1).isLowSurrogate()
                    ? 2
                    : 1;
            const QByteArray character = encodeRecordText(text.mid(kept, units));
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
