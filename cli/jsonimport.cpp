#include "jsonimport.h"

#include "jsonform.h"
#include "jsonstring.h"
#include "resfields.h"

#include <QCoreApplication>
#include <QLocale>

#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <type_traits>

namespace {

// What the reader found where it expected something else, as messages name it.
enum class Found { Null, Bool, Number, String, Array, Object };

// The kinds of JSON object and array of the form.
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

// The keys of the file's object, in this order; all but the trailing bytes are
// required.
const char *const RootKeys[] = { HeaderKey, ObjectsKey, TrailingKey };
enum RootKey { HeaderAt, ObjectsAt, TrailingAt, RequiredRootKeys = TrailingAt };
// A string is text in an encoding, or hex of all its bytes.
const char *const StringKeys[] = { TextKey, EncodingKey, HexKey };
enum StringKey { TextAt, EncodingAt, HexAt };

// A key of an object's JSON object and where its value goes: an integer field,
// a string or a table of entries.
struct ObjectMember
{
    const char *key;
    qint32 ResObject::*integer;
    ResString ResObject::*string;
    Kind table;
};

QVector<ObjectMember> objectMembers()
{
    QVector<ObjectMember> members;
    for (const IntegerField<ResObject> &field : { ObjectTypeField, EntryTypeTypeIDField })
        members.append({ field.name, field.member, nullptr, NoLevel });
    for (const StringField &field : StringFields)
        members.append({ field.name, nullptr, field.member, NoLevel });
    members.append({ Part1Name, nullptr, nullptr, Part1Table });
    members.append({ Part2Name, nullptr, nullptr, Part2Table });
    return members;
}

const QVector<ObjectMember> &ObjectMembers()
{
    static const QVector<ObjectMember> members = objectMembers();
    return members;
}

// Builds the contents of a RES file from the parser's events, straight into the
// records: a whole JSON document of the largest file took several times its
// memory. Each JSON object or array open is a Level; the first fault ends the
// reading with its JSON path and reason.
class JsonReader : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, JsonReader>
{
    Q_DECLARE_TR_FUNCTIONS(JsonImport)

public:
    explicit JsonReader(int objectsHint) { reserveObjects(read.objects, objectsHint); }

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
    struct Level
    {
        Kind kind;
        // The key being read, of a JSON object; the element, of an array.
        int at;
        // The keys given so far, of a JSON object.
        unsigned given;
    };
    // What a key or element takes: a JSON value of that kind, and the level it
    // opens.
    struct Slot
    {
        Found takes;
        Kind opens;
        const char *what;
    };

    // The keys of a JSON object's level; none for an array's.
    static const QVector<const char *> &keysOf(Kind kind);
    // The path to the value that the first depth levels are at.
    QString pathOf(int depth) const;
    // The path to a key of the innermost level.
    QString keyPath(const QString &key) const;
    static QString member(const QString &path, const QString &name);
    bool fail(const QString &where, const QString &reason);
    bool open(Kind kind);
    Slot slot() const;
    // Checks that the current key or element takes a value of that kind, and
    // opens its level.
    bool take(Found found);
    bool integer(std::optional<qint64> exact, double value, quint64 unsignedValue = 0);
    bool readHex(const QByteArray &digits, const QString &where, QByteArray &bytes);
    bool endString(ResString &string);
    bool isGiven(int key) const { return levels.last().given & (1u << key); }

    QVector<Level> levels;
    // A string's values, kept until its object ends: which of them it holds
    // tells text from hex.
    QByteArray stringValues[std::size(StringKeys)];
};

const QVector<const char *> &JsonReader::keysOf(Kind kind)
{
    // Of keys themselves, or of what holds them as its name or key.
    const auto keys = [](const auto &list) {
        QVector<const char *> keys;
        for (const auto &entry : list) {
            if constexpr (std::is_same_v<std::decay_t<decltype(entry)>, const char *>)
                keys.append(entry);
            else if constexpr (std::is_same_v<std::decay_t<decltype(entry)>, ObjectMember>)
                keys.append(entry.key);
            else
                keys.append(entry.name);
        }
        return keys;
    };
    static const QVector<const char *> root = keys(RootKeys), string = keys(StringKeys),
                                       object = keys(ObjectMembers()), part1 = keys(Part1Fields),
                                       part2 = keys(Part2Fields), array;
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
    return path.isEmpty() ? quotedName(name) : path + QLatin1Char('.') + quotedName(name);
}

QString JsonReader::pathOf(int depth) const
{
    QString path;
    for (int i = 0; i < depth; ++i) {
        const Level &level = levels.at(i);
        if (level.at < 0)
            break;
        const QVector<const char *> &keys = keysOf(level.kind);
        path = keys.isEmpty()
                ? path + QLatin1Char('[') + QString::number(level.at) + QLatin1Char(']')
                : member(path, keys.at(level.at));
    }
    return path;
}

QString JsonReader::keyPath(const QString &key) const
{
    return member(pathOf(levels.size() - 1), key);
}

bool JsonReader::fail(const QString &where, const QString &reason)
{
    error = where.isEmpty() ? reason : where + QLatin1String(": ") + reason;
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
        std::fill(std::begin(stringValues), std::end(stringValues), QByteArray());
    levels.append({ kind, -1, 0 });
    return true;
}

JsonReader::Slot JsonReader::slot() const
{
    const Level &level = levels.last();
    const Slot hex { Found::String, NoLevel, QT_TR_NOOP("a string of hex digits") };
    const Slot integer { Found::Number, NoLevel, QT_TR_NOOP("an integer") };
    switch (level.kind) {
    case Root:
        return level.at == ObjectsAt ? Slot { Found::Array, Objects, QT_TR_NOOP("an array") } : hex;
    case Objects:
        return { Found::Object, Object, QT_TR_NOOP("an object") };
    case Object: {
        const ObjectMember &member = ObjectMembers().at(level.at);
        if (member.integer)
            return integer;
        if (member.string)
            return { Found::Object, StringObject, QT_TR_NOOP("an object") };
        return { Found::Array, member.table, QT_TR_NOOP("an array") };
    }
    case StringObject:
        return level.at == HexAt ? hex : Slot { Found::String, NoLevel, QT_TR_NOOP("a string") };
    case Part1Table:
        return { Found::Object, Part1Entry, QT_TR_NOOP("an object") };
    case Part2Table:
        return { Found::Object, Part2Entry, QT_TR_NOOP("an object") };
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
        return fail(QString(), tr("the JSON text is not an object."));
    Level &level = levels.last();
    if (keysOf(level.kind).isEmpty()) {
        if (level.kind == Objects && level.at + 1 == MaxObjectCount) {
            return fail(pathOf(levels.size() - 1),
                    tr("more than %1 objects; a RES file holds at most %1.").arg(MaxObjectCount));
        }
        ++level.at;
    }
    const Slot expected = slot();
    if (found != expected.takes) {
        static const char *const names[] = { QT_TR_NOOP("null"), QT_TR_NOOP("true or false"),
            QT_TR_NOOP("a number"), QT_TR_NOOP("a string"), QT_TR_NOOP("an array"),
            QT_TR_NOOP("an object") };
        return fail(pathOf(levels.size()),
                tr("expected %1, found %2.").arg(tr(expected.what), tr(names[int(found)])));
    }
    return expected.opens == NoLevel || open(expected.opens);
}

bool JsonReader::Key(const char *name, rapidjson::SizeType size, bool)
{
    Level &level = levels.last();
    const QVector<const char *> &keys = keysOf(level.kind);
    const QByteArray key = QByteArray::fromRawData(name, int(size));
    const auto known =
            std::find_if(keys.begin(), keys.end(), [&key](const char *k) { return key == k; });
    if (known == keys.end())
        return fail(keyPath(QString::fromUtf8(name, int(size))), tr("there is no such field."));
    level.at = int(known - keys.begin());
    if (level.given & (1u << level.at))
        return fail(keyPath(QLatin1String(*known)), tr("the field is given twice."));
    level.given |= 1u << level.at;
    return true;
}

bool JsonReader::EndObject(rapidjson::SizeType)
{
    const Level level = levels.last();
    if (level.kind == StringObject) {
        const int at = levels.at(levels.size() - 2).at;
        if (!endString(read.objects.last().*ObjectMembers().at(at).string))
            return false;
    } else {
        const QVector<const char *> &keys = keysOf(level.kind);
        const int required = level.kind == Root ? int(RequiredRootKeys) : int(keys.size());
        for (int i = 0; i < required; ++i) {
            if (!(level.given & (1u << i)))
                return fail(keyPath(QLatin1String(keys.at(i))), tr("the field is missing."));
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
        stringValues[level.at] = value;
        return true;
    }
    const QString where = pathOf(levels.size());
    if (level.at == TrailingAt)
        return readHex(value, where, read.trailing);
    QByteArray header;
    if (!readHex(value, where, header))
        return false;
    if (header.size() != ResHeaderSize) {
        return fail(where,
                tr("%1 hex digits; the header takes %2.")
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
        fault = QT_TR_NOOP("%1 is not an integer.");
    else if (!exact || *exact < std::numeric_limits<qint32>::min()
            || *exact > std::numeric_limits<qint32>::max())
        fault = QT_TR_NOOP("%1 is outside the int32 range.");
    if (fault) {
        // An integer is named as written, not as 3e+09.
        const QString written = unsignedValue ? QString::number(unsignedValue)
                : exact                       ? QString::number(*exact)
                        : QString::number(found, 'g', QLocale::FloatingPointShortest);
        return fail(pathOf(levels.size()), tr(fault).arg(written));
    }
    const Level &level = levels.last();
    ResObject &object = read.objects.last();
    const qint32 value = qint32(*exact);
    if (level.kind == Object)
        object.*ObjectMembers().at(level.at).integer = value;
    else if (level.kind == Part1Entry)
        object.Part1.last().*Part1Fields[level.at].member = value;
    else
        object.Part2.last().*Part2Fields[level.at].member = value;
    return true;
}

bool JsonReader::readHex(const QByteArray &digits, const QString &where, QByteArray &bytes)
{
    QString reason;
    return JsonString::hexBytes(digits, &bytes, &reason) || fail(where, reason);
}

bool JsonReader::endString(ResString &string)
{
    const auto given = [this](StringKey key) {
        return isGiven(key) ? &stringValues[key] : nullptr;
    };
    const int field = levels.at(levels.size() - 2).at;
    const std::optional<JsonString::Fault> fault = JsonString::read(
            string, ObjectMembers().at(field).key, given(TextAt), given(EncodingAt), given(HexAt));
    return !fault || fail(keyPath(QLatin1String(fault->key)), fault->reason);
}

} // namespace

bool importJson(const QByteArray &file, ResStruct *contents, QString *error)
{
    // Notepad begins UTF-8 with a byte order mark, which JSON does without.
    const QByteArray json = file.startsWith("\xef\xbb\xbf") ? file.mid(3) : file;
    // UTF-16 begins with its byte order mark, or puts a zero byte after or before
    // each ASCII character; a RES file has zeros throughout.
    const auto zeroAt = [&file](int i) { return file.size() > 3 && file.at(i) == '\0'; };
    if (file.startsWith("\xff\xfe") || file.startsWith("\xfe\xff")
            || (zeroAt(0) != zeroAt(1) && zeroAt(0) == zeroAt(2) && zeroAt(1) == zeroAt(3))) {
        *error = QCoreApplication::translate(
                "JsonImport", "the JSON text is not UTF-8 but UTF-16; save it as UTF-8.");
        return false;
    }
    // Each object has one "ObjectType" key: a hint for one allocation of them.
    const QByteArray objectKey = '"' + QByteArray(ObjectTypeField.name) + '"';
    JsonReader reader(qMin(int(json.count(objectKey)), int(MaxObjectCount)));
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
        const bool zeroByte = offset < size_t(json.size()) && json.at(int(offset)) == '\0';
        QString reason = zeroByte
                ? QCoreApplication::translate("JsonImport", "a zero byte stands in the JSON text")
                : parsed.Code() == rapidjson::kParseErrorStringInvalidEncoding
                ? QCoreApplication::translate(
                        "JsonImport", "the JSON text is not UTF-8 here; save it as UTF-8")
                : QString::fromLatin1(rapidjson::GetParseError_En(parsed.Code()));
        if (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        *error = QCoreApplication::translate("JsonImport", "line %1, column %2: %3.")
                         .arg(before.count('\n') + 1)
                         .arg(before.size() - before.lastIndexOf('\n'))
                         .arg(reason);
        return false;
    }
    reader.read.header.ObjectCount = qint16(reader.read.objects.size());
    *contents = std::move(reader.read);
    return true;
}
