#include "resjson.h"

#include "resmatch.h"

#include <QLocale>
#include <QThread>

#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <future>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

namespace {

// The fields of the other JSON objects; those after the required ones are optional.
const char *const RootFields[] = { "header", "objects", "trailing" };
const char *const ObjectFields[] = { "ObjectType", "EntryTypeTypeID", "String1", "String2",
    "String3", "Part1", "Part2" };
// A string is text in an encoding, or hex of all its bytes.
const char *const StringObjectFields[] = { "text", "encoding", "hex" };
enum StringObjectField { TextField, EncodingField, HexField };

const char *nameOf(const char *name)
{
    return name;
}

template<typename Record>
const char *nameOf(const Field<Record> &field)
{
    return field.name;
}

const char DefaultEncoding[] = "gb18030";

// The encoding of that name that a RecordText names, or null.
const char *encodingNamed(const QString &name)
{
    for (const char *encoding : { DefaultEncoding, "big5", "utf-8" }) {
        if (name == QLatin1String(encoding))
            return encoding;
    }
    return nullptr;
}

// Writes JSON laid out as jq prints it (two spaces a level, one member per
// line, keys in the order written), so that a bulk edit with jq changes only the
// lines it edits. QJsonDocument would sort the keys by name.
class JsonWriter
{
public:
    JsonWriter() = default;
    // Goes on inside depth open objects and arrays, the innermost of which
    // already holds members or not.
    JsonWriter(int depth, bool membersBefore)
        : empty(depth, false)
    {
        empty.last() = !membersBefore;
    }

    void open(char bracket)
    {
        text += bracket;
        empty.append(true);
    }

    void close(char bracket)
    {
        const bool wasEmpty = empty.takeLast();
        if (!wasEmpty)
            newLine();
        text += bracket;
    }

    // Records that members were written into the innermost open level elsewhere.
    void openedMembers(bool written) { empty.last() = empty.last() && !written; }

    // Starts the next member of the open object (with its key) or array.
    void next(const char *key = nullptr)
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

    void number(qint32 value)
    {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        text.append(digits, int(end - digits));
    }

    // Escapes as jq does: the short forms where JSON has them, else \u00XX.
    // Runs of bytes that need no escape are copied at once.
    void string(const QByteArray &utf8)
    {
        static const char hexDigits[] = "0123456789abcdef";
        text += '"';
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

    QByteArray text;

private:
    void newLine()
    {
        // Deeper than a RES file's JSON goes.
        static const char indent[] = "\n                    ";
        text.append(indent, qMin(1 + int(empty.size()) * 2, int(sizeof indent) - 1));
    }

    // Per open object or array: whether no member has been written yet.
    QVector<bool> empty;
};

// A string goes out as text only when importing that text in that encoding
// stores exactly its bytes again.
void writeString(
        JsonWriter &json, const ResString &string, bool modelName, const TextEvidence &evidence)
{
    json.open('{');
    if (const std::optional<RecordText> shown = storedText(string, modelName, evidence)) {
        json.next(StringObjectFields[TextField]);
        json.string(shown->text.toUtf8());
        json.next(StringObjectFields[EncodingField]);
        json.string(shown->encoding);
    } else {
        json.next(StringObjectFields[HexField]);
        json.string(storedBytes(string).toHex());
    }
    json.close('}');
}

template<typename Entry, size_t FieldCount>
void writeTable(
        JsonWriter &json, const QVector<Entry> &table, const Field<Entry> (&fields)[FieldCount])
{
    json.open('[');
    for (const Entry &entry : table) {
        json.next();
        json.open('{');
        for (const Field<Entry> &field : fields) {
            json.next(field.name);
            json.number(entry.*field.member);
        }
        json.close('}');
    }
    json.close(']');
}

void writeObject(JsonWriter &json, const ResObject &object, const TextEvidence &evidence)
{
    json.open('{');
    json.next(ObjectFields[0]);
    json.number(object.ObjectType);
    json.next(ObjectFields[1]);
    json.number(object.EntryTypeTypeID);
    for (const StringField &field : StringFields) {
        json.next(field.name);
        writeString(json, object.*field.member, field.modelName, evidence);
    }
    json.next(ObjectFields[5]);
    writeTable(json, object.Part1, Part1Fields);
    json.next(ObjectFields[6]);
    writeTable(json, object.Part2, Part2Fields);
    json.close('}');
}

// All of the bytes, a zero byte included: Qt 5 would stop at one.
QString utf8Text(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

// What the reader found where it expected something else, as messages name it.
enum class Found { Null, Bool, Number, String, Array, Object };

// Builds the contents of a RES file from the parser's events, straight into the
// records: a whole JSON document of the largest file took several times its
// memory. Each JSON object or array open is a Level; the first fault ends the
// reading with its JSON path and reason.
class JsonReader : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, JsonReader>
{
public:
    explicit JsonReader(int objectsHint) { read.objects.reserve(objectsHint); }

    bool StartObject() { return levels.isEmpty() ? open(Root) : take(Found::Object); }
    bool EndObject(rapidjson::SizeType);
    bool StartArray() { return take(Found::Array); }
    bool EndArray(rapidjson::SizeType);
    bool Key(const char *name, rapidjson::SizeType size, bool);
    bool String(const char *chars, rapidjson::SizeType size, bool);
    bool Null() { return take(Found::Null); }
    bool Bool(bool) { return take(Found::Bool); }
    bool Int(int value) { return integer(value, value); }
    bool Uint(unsigned value) { return integer(value, value); }
    bool Int64(int64_t value) { return integer(value, double(value)); }
    bool Uint64(uint64_t value) { return integer(std::nullopt, double(value), value); }
    bool Double(double value) { return integer(std::nullopt, value); }
    bool Default() { return false; }

    ResStruct read;
    QString error;

private:
    enum Kind {
        Root,
        Objects,
        Object,
        StringObject,
        Part1Table,
        Part2Table,
        Part1Entry,
        Part2Entry,
        NoLevel
    };
    struct Level
    {
        Kind kind;
        // The field being read, of a JSON object; the element, of an array.
        int at;
        // The fields given so far, of a JSON object.
        unsigned given;
    };
    // What a field or element takes: a JSON value of that kind, and the level
    // it opens.
    struct Slot
    {
        Found takes;
        Kind opens;
        const char *what;
    };

    // The field names of a JSON object's level; none for an array's.
    static const QVector<const char *> &fieldsOf(Kind kind);
    // The path to the value that the first depth levels are at.
    QString pathOf(int depth) const;
    static QString member(const QString &path, const QString &name);
    bool fail(const QString &where, const QString &reason);
    bool open(Kind kind);
    Slot slot() const;
    // Checks that the current field or element takes a value of that kind, and
    // opens its level.
    bool take(Found found);
    bool integer(std::optional<qint64> exact, double value, quint64 unsignedValue = 0);
    bool readHex(const QByteArray &digits, const QString &where, QByteArray &bytes);
    bool endString(ResString &string);
    using FieldPath = std::function<QString(const char *field)>;
    bool readText(ResString &string, const FieldPath &path);

    QVector<Level> levels;
    // A string's fields, kept until its object ends: which of them it holds
    // tells text from hex.
    QByteArray stringFields[std::size(StringObjectFields)];
};

const QVector<const char *> &JsonReader::fieldsOf(Kind kind)
{
    const auto names = [](const auto &fields) {
        QVector<const char *> names;
        for (const auto &field : fields)
            names.append(nameOf(field));
        return names;
    };
    static const QVector<const char *> root = names(RootFields), object = names(ObjectFields),
                                       string = names(StringObjectFields),
                                       part1 = names(Part1Fields), part2 = names(Part2Fields),
                                       array;
    switch (kind) {
    case Root:
        return root;
    case Object:
        return object;
    case StringObject:
        return string;
    case Part1Entry:
        return part1;
    case Part2Entry:
        return part2;
    default:
        return array;
    }
}

QString JsonReader::member(const QString &path, const QString &name)
{
    return path.isEmpty() ? name : path + QLatin1Char('.') + name;
}

QString JsonReader::pathOf(int depth) const
{
    QString path;
    for (int i = 0; i < depth; ++i) {
        const Level &level = levels.at(i);
        if (level.at < 0)
            break;
        const QVector<const char *> &fields = fieldsOf(level.kind);
        path = fields.isEmpty()
                ? path + QLatin1Char('[') + QString::number(level.at) + QLatin1Char(']')
                : member(path, fields.at(level.at));
    }
    return path;
}

bool JsonReader::fail(const QString &where, const QString &reason)
{
    error = where.isEmpty() ? reason : where + QLatin1String(": ") + reason;
    // A key or encoding may hold a zero character, which would end the message.
    error.replace(QChar(0), QLatin1String("\\u0000"));
    return false;
}

bool JsonReader::open(Kind kind)
{
    if (kind == Object)
        read.objects.append(ResObject());
    if (kind == Part1Entry)
        read.objects.last().Part1.append(Part1SubObject());
    if (kind == Part2Entry)
        read.objects.last().Part2.append(Part2SubObject());
    if (kind == StringObject)
        std::fill(std::begin(stringFields), std::end(stringFields), QByteArray());
    levels.append({ kind, -1, 0 });
    return true;
}

JsonReader::Slot JsonReader::slot() const
{
    const Level &level = levels.last();
    const Slot hex { Found::String, NoLevel, "a string of hex digits" };
    const Slot integer { Found::Number, NoLevel, "an integer" };
    switch (level.kind) {
    case Root:
        return level.at == 1 ? Slot { Found::Array, Objects, "an array" } : hex;
    case Objects:
        return { Found::Object, Object, "an object" };
    case Object:
        if (level.at < 2)
            return integer;
        if (level.at < 5)
            return { Found::Object, StringObject, "an object" };
        return { Found::Array, level.at == 5 ? Part1Table : Part2Table, "an array" };
    case StringObject:
        return level.at == 2 ? hex : Slot { Found::String, NoLevel, "a string" };
    case Part1Table:
        return { Found::Object, Part1Entry, "an object" };
    case Part2Table:
        return { Found::Object, Part2Entry, "an object" };
    case Part1Entry:
    case Part2Entry:
    case NoLevel:
        break;
    }
    return integer;
}

bool JsonReader::take(Found found)
{
    if (levels.isEmpty())
        return fail(QString(), QStringLiteral("the JSON text is not an object."));
    Level &level = levels.last();
    if (fieldsOf(level.kind).isEmpty()) {
        if (level.kind == Objects && level.at + 1 == MaxObjectCount) {
            return fail(pathOf(levels.size() - 1),
                    QStringLiteral("more than %1 objects; a RES file holds at most %1.")
                            .arg(MaxObjectCount));
        }
        ++level.at;
    }
    const Slot expected = slot();
    if (found != expected.takes) {
        static const char *const names[] = { "null", "true or false", "a number", "a string",
            "an array", "an object" };
        return fail(pathOf(levels.size()),
                QStringLiteral("expected %1, found %2.")
                        .arg(QLatin1String(expected.what), QLatin1String(names[int(found)])));
    }
    return expected.opens == NoLevel || open(expected.opens);
}

bool JsonReader::Key(const char *name, rapidjson::SizeType size, bool)
{
    Level &level = levels.last();
    const QVector<const char *> &fields = fieldsOf(level.kind);
    const QByteArray key = QByteArray::fromRawData(name, int(size));
    const auto known = std::find_if(
            fields.begin(), fields.end(), [&key](const char *field) { return key == field; });
    if (known == fields.end()) {
        return fail(member(pathOf(levels.size() - 1), QString::fromUtf8(name, int(size))),
                QStringLiteral("there is no such field."));
    }
    level.at = int(known - fields.begin());
    if (level.given & (1u << level.at)) {
        return fail(member(pathOf(levels.size() - 1), QLatin1String(*known)),
                QStringLiteral("the field is given twice."));
    }
    level.given |= 1u << level.at;
    return true;
}

bool JsonReader::EndObject(rapidjson::SizeType)
{
    const Level level = levels.last();
    const QVector<const char *> &fields = fieldsOf(level.kind);
    if (level.kind == StringObject) {
        const int field = levels.at(levels.size() - 2).at;
        if (!endString(read.objects.last().*StringFields[field - 2].member))
            return false;
    } else {
        // All fields are required but the trailing bytes.
        const int required = level.kind == Root ? 2 : int(fields.size());
        for (int i = 0; i < required; ++i) {
            if (!(level.given & (1u << i))) {
                return fail(member(pathOf(levels.size() - 1), QLatin1String(fields.at(i))),
                        QStringLiteral("the field is missing."));
            }
        }
    }
    levels.removeLast();
    return true;
}

bool JsonReader::EndArray(rapidjson::SizeType)
{
    ResObject *object = read.objects.isEmpty() ? nullptr : &read.objects.last();
    if (levels.last().kind == Part1Table)
        object->Part1Count = object->Part1.size();
    if (levels.last().kind == Part2Table)
        object->Part2Count = object->Part2.size();
    levels.removeLast();
    return true;
}

bool JsonReader::String(const char *chars, rapidjson::SizeType size, bool)
{
    if (!take(Found::String))
        return false;
    const Level &level = levels.last();
    const QByteArray value(chars, int(size));
    if (level.kind == StringObject) {
        stringFields[level.at] = value;
        return true;
    }
    const QString where = pathOf(levels.size());
    if (level.at == 2)
        return readHex(value, where, read.trailing);
    QByteArray header;
    if (!readHex(value, where, header))
        return false;
    if (header.size() != ResHeaderSize) {
        return fail(where,
                QStringLiteral("%1 hex digits; the header takes %2.")
                        .arg(header.size() * 2)
                        .arg(ResHeaderSize * 2));
    }
    std::memcpy(&read.header, header.constData(), ResHeaderSize);
    return true;
}

bool JsonReader::integer(std::optional<qint64> exact, double found, quint64 unsignedValue)
{
    if (!take(Found::Number))
        return false;
    const char *fault = nullptr;
    if (!exact && found == std::floor(found) && std::abs(found) < 1e18)
        exact = qint64(found);
    if (!exact && !unsignedValue && found != std::floor(found))
        fault = "%1 is not an integer.";
    else if (!exact || *exact < std::numeric_limits<qint32>::min()
            || *exact > std::numeric_limits<qint32>::max())
        fault = "%1 is outside the int32 range.";
    if (fault) {
        // An integer is named as written, not as 3e+09.
        const QString written = unsignedValue ? QString::number(unsignedValue)
                : exact                       ? QString::number(*exact)
                        : QString::number(found, 'g', QLocale::FloatingPointShortest);
        return fail(pathOf(levels.size()), QString::fromLatin1(fault).arg(written));
    }
    const Level &level = levels.last();
    ResObject &object = read.objects.last();
    const qint32 value = qint32(*exact);
    if (level.kind == Object)
        (level.at == 0 ? object.ObjectType : object.EntryTypeTypeID) = value;
    else if (level.kind == Part1Entry)
        object.Part1.last().*Part1Fields[level.at].member = value;
    else
        object.Part2.last().*Part2Fields[level.at].member = value;
    return true;
}

bool JsonReader::readHex(const QByteArray &digits, const QString &where, QByteArray &bytes)
{
    const auto notHex = std::find_if(
            digits.begin(), digits.end(), [](char c) { return !std::isxdigit(uchar(c)); });
    if (notHex != digits.end()) {
        const QString rest = QString::fromUtf8(notHex, int(digits.end() - notHex));
        return fail(where, QStringLiteral("'%1' is not a hex digit.").arg(rest.left(1)));
    }
    if (digits.size() % 2 != 0) {
        return fail(where, QStringLiteral("an odd number of hex digits (%1).").arg(digits.size()));
    }
    bytes = QByteArray::fromHex(digits);
    return true;
}

bool JsonReader::endString(ResString &string)
{
    const unsigned given = levels.last().given;
    // Spelled out only for a fault: a file holds about 100000 strings.
    const auto path = [this](const char *field) {
        return member(pathOf(levels.size() - 1), QLatin1String(field));
    };
    const auto isGiven = [given](StringObjectField field) { return given & (1u << field); };
    if (!isGiven(HexField)) {
        if (!isGiven(TextField))
            return fail(
                    path(StringObjectFields[TextField]), QStringLiteral("the field is missing."));
        return readText(string, path);
    }
    // Hex is all of a string's bytes: it has no encoding.
    for (const StringObjectField field : { TextField, EncodingField }) {
        if (isGiven(field))
            return fail(path(StringObjectFields[field]), QStringLiteral("there is no such field."));
    }
    QByteArray bytes;
    const QString hexPath = path(StringObjectFields[HexField]);
    if (!readHex(stringFields[HexField], hexPath, bytes))
        return false;
    if (bytes.size() < ResStringMinLength || bytes.size() > ResStringMaxLength) {
        return fail(hexPath,
                QStringLiteral("%1 bytes; a string holds %2 to %3, its zero byte included.")
                        .arg(bytes.size())
                        .arg(ResStringMinLength)
                        .arg(ResStringMaxLength));
    }
    if (!bytes.contains('\0'))
        return fail(hexPath, QStringLiteral("the bytes hold no zero byte to end the string."));
    string.Length = bytes.size();
    std::memcpy(string.Text, bytes.constData(), size_t(bytes.size()));
    return true;
}

bool JsonReader::readText(ResString &string, const FieldPath &path)
{
    const QString name = levels.last().given & (1u << EncodingField)
            ? utf8Text(stringFields[EncodingField])
            : QLatin1String(DefaultEncoding);
    const char *encoding = encodingNamed(name);
    if (!encoding) {
        return fail(path(StringObjectFields[EncodingField]),
                QStringLiteral("unknown encoding \"%1\"; use gb18030, big5 or utf-8.").arg(name));
    }

    const QString text = utf8Text(stringFields[TextField]);
    if (text.contains(QChar(0))) {
        return fail(path(StringObjectFields[TextField]),
                QStringLiteral("a zero character would end the string there."));
    }
    const auto readsBack = [encoding](const QString &text) {
        return decodeInEncoding(encodeRecordText(text, encoding), encoding) == text;
    };
    const QByteArray bytes = encodeRecordText(text, encoding);
    if (decodeInEncoding(bytes, encoding) != text) {
        const auto characters = text.toUcs4();
        const auto lost = std::find_if(characters.begin(), characters.end(), [&](uint c) {
            const char32_t unit = c;
            return !readsBack(QString::fromUcs4(&unit, 1));
        });
        const char32_t character = lost == characters.end() ? 0 : *lost;
        return fail(path(StringObjectFields[TextField]),
                QStringLiteral("%1 cannot represent \"%2\" (U+%3); a text without \"encoding\" "
                               "is stored as GB18030.")
                        .arg(name, QString::fromUcs4(&character, 1),
                                QString::number(uint(character), 16)
                                        .toUpper()
                                        .rightJustified(4, '0')));
    }
    if (bytes.size() > ResStringMaxTextBytes) {
        return fail(path(StringObjectFields[TextField]),
                QStringLiteral("the text takes %1 bytes in %2; at most %3 fit.")
                        .arg(bytes.size())
                        .arg(name)
                        .arg(ResStringMaxTextBytes));
    }
    string.Length = bytes.size() + 1;
    std::memcpy(string.Text, bytes.constData(), size_t(bytes.size()));
    string.Text[bytes.size()] = '\0';
    return true;
}

} // namespace

QByteArray exportJson(const ResStruct &contents)
{
    // About what objects and their entries take, so that each text grows once.
    const auto expectedSize = [&contents](int begin, int end) {
        qsizetype size = 1024;
        for (int i = begin; i < end; ++i) {
            const ResObject &object = contents.objects.at(i);
            size += 640 + 100 * object.Part1.size() + 260 * object.Part2.size();
        }
        return int(qMin(size, qsizetype(std::numeric_limits<int>::max() / 4)));
    };
    // The objects are written in slices, one per processor: showing each string
    // as the editor does takes most of the time. The first slice begins the
    // text, which the others are appended to, each freed once it is.
    const int objects = contents.objects.size();
    const int slices = qBound(1, qMin(QThread::idealThreadCount(), objects), 8);
    std::vector<std::future<JsonWriter>> parts;
    for (int slice = 0; slice < slices; ++slice) {
        const int begin = int(qint64(objects) * slice / slices);
        const int end = int(qint64(objects) * (slice + 1) / slices);
        parts.push_back(std::async(std::launch::async, [&contents, &expectedSize, begin, end] {
            // Later slices go on inside the file's object and its "objects" array.
            JsonWriter json = begin == 0 ? JsonWriter() : JsonWriter(2, true);
            if (begin == 0) {
                json.text.reserve(expectedSize(0, contents.objects.size()));
                json.open('{');
                json.next("header");
                json.string(QByteArray::fromRawData(
                        reinterpret_cast<const char *>(&contents.header), ResHeaderSize)
                                    .toHex());
                json.next("objects");
                json.open('[');
            } else {
                json.text.reserve(expectedSize(begin, end));
            }
            for (int i = begin; i < end; ++i) {
                json.next();
                writeObject(json, contents.objects.at(i), contents.textEvidence);
            }
            return json;
        }));
    }

    JsonWriter json = parts.front().get();
    for (auto part = parts.begin() + 1; part != parts.end(); ++part)
        json.text += part->get().text;
    json.openedMembers(objects > 0);
    json.close(']');
    if (!contents.trailing.isEmpty()) {
        json.next("trailing");
        json.string(contents.trailing.toHex());
    }
    json.close('}');
    json.text += '\n';
    return json.text;
}

bool importJson(const QByteArray &json, ResStruct *contents, QString *error)
{
    // Each object has one "ObjectType" key: a hint for one allocation of them.
    JsonReader reader(qMin(int(json.count("\"ObjectType\"")), int(MaxObjectCount)));
    rapidjson::MemoryStream stream(json.constData(), size_t(json.size()));
    rapidjson::Reader parser;
    const rapidjson::ParseResult parsed =
            parser.Parse<rapidjson::kParseValidateEncodingFlag | rapidjson::kParseIterativeFlag>(
                    stream, reader);
    if (!reader.error.isEmpty()) {
        *error = reader.error;
        return false;
    }
    // The parser takes a zero byte for the end of the text.
    const size_t offset = parsed ? stream.Tell() : parsed.Offset();
    if (!parsed || offset != size_t(json.size())) {
        const QByteArray before = json.left(int(offset));
        QString reason = parsed ? QStringLiteral("a zero byte stands in the JSON text")
                                : QString::fromLatin1(rapidjson::GetParseError_En(parsed.Code()));
        if (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        *error = QStringLiteral("line %1, column %2: %3.")
                         .arg(before.count('\n') + 1)
                         .arg(before.size() - before.lastIndexOf('\n'))
                         .arg(reason);
        return false;
    }
    reader.read.header.ObjectCount = qint16(reader.read.objects.size());
    *contents = std::move(reader.read);
    return true;
}
