#include "recordtext.h"

#include "resstring.h"

#include <QTextCodec>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <utility>

namespace {

// A Han character of the word table: its cost in simplified and in traditional
// text, and its place among the characters that begin or end a piece of a word.
struct TableCharacter
{
    char16_t character;
    quint8 simplifiedCost;
    quint8 traditionalCost;
    quint16 piecePlace;
};

constexpr quint16 NoPieces = 0x7fff;
enum Script { Simplified = 1, Traditional = 2 };

#include "wordtable.inc"

// Costs are in quarter bits, as in the table. ASCII reads alike in both
// encodings. Punctuation and symbols turn up in names; letters of other scripts
// (kana, Greek, bopomofo), box drawing and mathematical signs are what Chinese
// text read in the wrong encoding turns into.
constexpr int AsciiCost = 8 * 4;
constexpr int SymbolCost = 14 * 4;
constexpr int OtherCost = 26 * 4;
// A character that no writer of the text can have meant.
constexpr int Impossible = -1;
constexpr int Unreachable = std::numeric_limits<int>::max() / 2;

// A text whose two readings differ by this much reads clearly as one of them.
constexpr int ClearMargin = 15 * 4;
// The most that a file's evidence leans a text: less than a clear margin, so
// that what a text itself clearly says wins.
constexpr int MostLean = 15 * 4;
// Texts weighed for a file's evidence: enough to tell a file's encoding, few
// enough that opening the largest file takes a few milliseconds more.
constexpr int EvidenceSample = 2048;

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

// What a character costs in each script, and its place among the characters of
// pieces (NoPieces if none); Impossible costs for a character that no writer of
// a text can have meant.
struct CharacterCost
{
    int simplified;
    int traditional;
    int piecePlace;
};

CharacterCost workedOutCost(uint character)
{
    const QChar::Category category = QChar::category(character);
    // The codecs decode a byte sequence they cannot read as U+FFFD or U+001A.
    if (character < 0xA0 || character == 0xFFFD || category == QChar::Other_NotAssigned
            || category == QChar::Other_PrivateUse || category == QChar::Other_Surrogate)
        return { Impossible, Impossible, NoPieces };
    if (character <= 0xFFFF) {
        const auto found = std::lower_bound(std::begin(TableCharacters), std::end(TableCharacters),
                character, [](const TableCharacter &entry, uint c) { return entry.character < c; });
        if (found != std::end(TableCharacters) && found->character == character)
            return { found->simplifiedCost, found->traditionalCost, found->piecePlace };
    }
    const int cost = isHan(character) ? RareHanCost
            : isNameSymbol(character) ? SymbolCost
                                      : OtherCost;
    return { cost, cost, NoPieces };
}

// Each character's costs are worked out once and then looked up: the strings of
// a file are decoded twice each, and the category and table search of every
// character took a fifth of exporting a file.
CharacterCost characterCost(uint character)
{
    if (character >= 0x20 && character < 0x7F)
        return { AsciiCost, AsciiCost, NoPieces };
    if (character > 0xFFFF)
        return workedOutCost(character);
    // Both costs (Impossible as 255) and the piece place, with the top bit set
    // once worked out; zero-initialised as a static.
    static std::atomic<quint32> known[0x10000];
    quint32 packed = known[character].load(std::memory_order_relaxed);
    if (!packed) {
        const CharacterCost cost = workedOutCost(character);
        packed = 0x80000000u | quint32(cost.piecePlace) << 16
                | quint32(quint8(cost.traditional)) << 8 | quint8(cost.simplified);
        known[character].store(packed, std::memory_order_relaxed);
    }
    const auto costOf = [](quint32 byte) { return byte == 0xff ? Impossible : int(byte); };
    return { costOf(packed & 0xff), costOf(packed >> 8 & 0xff), int(packed >> 16 & 0x7fff) };
}

// The bit of a pair of places in PieceFilter, as scripts/make-word-table.py
// sets it.
quint32 pairHash(int first, int second)
{
    return quint32((quint32(first) << 14 | quint32(second)) * 2654435761u)
            >> (32 - PieceFilterBits);
}

// The piece of those two characters of pieces: the scripts it is written in
// and its cost, or no scripts.
std::pair<int, int> pieceOf(int first, int second)
{
    const quint32 bit = pairHash(first, second);
    if (!(PieceFilter[bit / 64] >> (bit % 64) & 1))
        return { 0, 0 };
    const quint32 *begin = Pieces + PieceRows[first];
    const quint32 *end = Pieces + PieceRows[first + 1];
    const quint32 *found = std::lower_bound(begin, end, quint32(second) << 10);
    if (found == end || int(*found >> 10) != second)
        return { 0, 0 };
    return { int(*found >> 8 & 3), int(*found & 0xff) };
}

// How unlikely text is as what a modder wrote, in quarter bits: the cost of its
// cheapest split into characters and two-character pieces, in simplified or in
// traditional text, whichever is cheaper; Impossible when it holds a character
// that cannot have been written.
int textCost(const QString &text)
{
    // Slots hold 253 bytes, and no encoding takes less than a byte a character.
    constexpr int MostCharacters = ResStringMaxTextBytes;
    CharacterCost costs[MostCharacters];
    int count = 0;
    for (int i = 0; i < text.size() && count < MostCharacters; ++i) {
        uint character = text.at(i).unicode();
        if (QChar::isHighSurrogate(character) && i + 1 < text.size()
                && text.at(i + 1).isLowSurrogate())
            character = QChar::surrogateToUcs4(char16_t(character), text.at(++i).unicode());
        costs[count] = characterCost(character);
        if (costs[count].simplified == Impossible)
            return Impossible;
        ++count;
    }

    // The cheapest split of the first i characters, in each script.
    int simplified[MostCharacters + 1], traditional[MostCharacters + 1];
    std::fill(simplified, simplified + count + 1, Unreachable);
    std::fill(traditional, traditional + count + 1, Unreachable);
    simplified[0] = traditional[0] = 0;
    const auto lower = [](int &best, int cost) { best = std::min(best, cost); };
    for (int i = 0; i < count; ++i) {
        lower(simplified[i + 1], simplified[i] + costs[i].simplified);
        lower(traditional[i + 1], traditional[i] + costs[i].traditional);
        if (i + 1 < count && costs[i].piecePlace != NoPieces
                && costs[i + 1].piecePlace != NoPieces) {
            const auto [scripts, cost] = pieceOf(costs[i].piecePlace, costs[i + 1].piecePlace);
            if (scripts & Simplified)
                lower(simplified[i + 2], simplified[i] + cost);
            if (scripts & Traditional)
                lower(traditional[i + 2], traditional[i] + cost);
        }
    }
    return std::min(simplified[count], traditional[count]);
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

const char *const EncodingNames[] = { "gb18030", "big5", "utf-8" };

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

QTextCodec *codecOf(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Big5:
        return big5();
    case TextEncoding::Utf8:
        return utf8();
    case TextEncoding::Gb18030:
        break;
    }
    return gb18030();
}

// How far a file's evidence leans an ambiguous text toward Big5, in quarter
// bits: the log-odds of the file's clear texts, where this editor's own
// GB18030 counts once before any text is weighed, so that a file without
// evidence leans a bit toward what the editor writes.
int big5Lean(const TextEvidence &evidence)
{
    const double odds = (evidence.big5 + 1.0) / (evidence.gb18030 + 2.0);
    return qBound(-MostLean, int(std::lround(4 * std::log2(odds))), MostLean);
}

struct Reading
{
    RecordText shown;
    int cost;
};

// The reading of text that wins, GB18030 or Big5, and its cost.
Reading weighed(const QByteArray &text, const TextEvidence &evidence)
{
    Reading asGb18030 { { decoded(gb18030(), text), TextEncoding::Gb18030 }, 0 };
    Reading asBig5 { { decoded(big5(), text), TextEncoding::Big5 }, 0 };
    asGb18030.cost = textCost(asGb18030.shown.text);
    asBig5.cost = textCost(asBig5.shown.text);
    if (asBig5.cost != Impossible
            && (asGb18030.cost == Impossible || asBig5.cost - big5Lean(evidence) < asGb18030.cost))
        return asBig5;
    return asGb18030;
}

// The characters of Chinese, Japanese and Korean names, besides ASCII: what a
// model name in valid UTF-8 is plainly meant as. The GB18030 bytes of a common
// character may be valid UTF-8 of a Latin, Greek or Cyrillic letter.
bool isNameCharacter(uint character)
{
    return (character >= 0x20 && character < 0x7F) || isHan(character)
            || (character >= 0x3000 && character <= 0x30FF)
            || (character >= 0xAC00 && character <= 0xD7A3)
            || (character >= 0xFF01 && character <= 0xFF65);
}

} // namespace

const char *encodingName(TextEncoding encoding)
{
    return EncodingNames[int(encoding)];
}

std::optional<TextEncoding> encodingNamed(const QString &name)
{
    for (const TextEncoding encoding :
            { TextEncoding::Gb18030, TextEncoding::Big5, TextEncoding::Utf8 }) {
        if (name == QLatin1String(encodingName(encoding)))
            return encoding;
    }
    return std::nullopt;
}

QByteArray recordTextBytes(const ResString &string)
{
    return QByteArray(string.Text, int(qstrnlen(string.Text, ResStringSlotSize)));
}

TextEvidence weighTexts(const QVector<ResObject> &objects)
{
    TextEvidence evidence;
    const auto weigh = [&evidence](const ResString &string) {
        const QByteArray text = recordTextBytes(string);
        if (isAscii(text))
            return;
        const int gbCost = textCost(decoded(gb18030(), text));
        const int big5Cost = textCost(decoded(big5(), text));
        if (gbCost == Impossible && big5Cost == Impossible)
            return;
        if (big5Cost == Impossible || (gbCost != Impossible && big5Cost - gbCost >= ClearMargin))
            ++evidence.gb18030;
        else if (gbCost == Impossible || gbCost - big5Cost >= ClearMargin)
            ++evidence.big5;
    };
    // String1 and String3 of every step-th object.
    const int step = qMax(1, int(objects.size()) / (EvidenceSample / 2));
    for (int i = 0; i < objects.size(); i += step) {
        weigh(objects.at(i).String1);
        weigh(objects.at(i).String3);
    }
    return evidence;
}

const TextEvidence &textEvidenceOf(const ResStruct &contents)
{
    if (!contents.textEvidence)
        contents.textEvidence = weighTexts(contents.objects);
    return *contents.textEvidence;
}

RecordText readRecordText(const QByteArray &bytes, const TextEvidence &evidence)
{
    const QByteArray text = beforeFirstZero(bytes);
    if (isAscii(text))
        return { QString::fromLatin1(text), TextEncoding::Gb18030 };
    return weighed(text, evidence).shown;
}

QString decodeRecordText(const QByteArray &bytes, const TextEvidence &evidence)
{
    return readRecordText(bytes, evidence).text;
}

QByteArray encodeRecordText(const QString &text, TextEncoding encoding)
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

QString decodeInEncoding(const QByteArray &bytes, TextEncoding encoding)
{
    QTextCodec *codec = codecOf(encoding);
    return codec == utf8() ? codec->toUnicode(bytes) : decoded(codec, bytes);
}

RecordText readModelNameText(const QByteArray &bytes, const TextEvidence &evidence)
{
    const QByteArray text = beforeFirstZero(bytes);
    QTextCodec::ConverterState state;
    const QString asUtf8 = utf8()->toUnicode(text.constData(), text.size(), &state);
    const bool validUtf8 = state.invalidChars == 0 && state.remainingChars == 0;
    const auto characters = asUtf8.toUcs4();
    if (validUtf8 && std::all_of(characters.begin(), characters.end(), isNameCharacter))
        return { asUtf8, TextEncoding::Utf8 };
    const Reading other = weighed(text, evidence);
    const int utf8Cost = validUtf8 ? textCost(asUtf8) : Impossible;
    if (utf8Cost != Impossible && (other.cost == Impossible || utf8Cost < other.cost))
        return { asUtf8, TextEncoding::Utf8 };
    return other.shown;
}

RecordText readStoredText(const ResString &string, bool modelName, const TextEvidence &evidence)
{
    const QByteArray bytes = recordTextBytes(string);
    return modelName ? readModelNameText(bytes, evidence) : readRecordText(bytes, evidence);
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

    setStoredText(string, encoded);
    return kept;
}
