#include "resjson.h"

#include "resmatch.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QTextCodec>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <utility>

namespace {

// The fields of the other JSON objects; those after the required ones are optional.
const char *const RootFields[] = { "header", "objects", "trailing" };
const char *const ObjectFields[] = { "ObjectType", "EntryTypeTypeID", "String1", "String2",
    "String3", "Part1", "Part2" };
const char *const TextFields[] = { "text", "encoding" };
const char *const HexFields[] = { "hex" };

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

// Each codec is looked up once: a lookup by name is slow, and a file holds up to
// about 100000 strings.
QTextCodec *codecNamed(const QString &name)
{
    static const std::pair<const char *, QTextCodec *> codecs[] = {
        { DefaultEncoding, QTextCodec::codecForName(DefaultEncoding) },
        { "big5", QTextCodec::codecForName("big5") },
        { "utf-8", QTextCodec::codecForName("utf-8") },
    };
    for (const auto &codec : codecs) {
        if (name == QLatin1String(codec.first))
            return codec.second;
    }
    return nullptr;
}

// Writes JSON laid out as jq prints it (two spaces a level, one member per
// line, keys in the order written), so that a bulk edit with jq changes only the
// lines it edits. QJsonDocument would sort the keys by name.
class JsonWriter
{
public:
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
    void string(const QByteArray &utf8)
    {
        static const char hexDigits[] = "0123456789abcdef";
        text += '"';
        for (const char byte : utf8) {
            switch (byte) {
            case '"':
                text += "\\\"";
                break;
            case '\\':
                text += "\\\\";
                break;
            case '\b':
                text += "\\b";
                break;
            case '\f':
                text += "\\f";
                break;
            case '\n':
                text += "\\n";
                break;
            case '\r':
                text += "\\r";
                break;
            case '\t':
                text += "\\t";
                break;
            default:
                if (uchar(byte) < 0x20 || byte == '\x7f') {
                    text += "\\u00";
                    text += hexDigits[uchar(byte) >> 4];
                    text += hexDigits[byte & 0xf];
                } else {
                    text += byte;
                }
            }
        }
        text += '"';
    }

    QByteArray text;

private:
    void newLine()
    {
        text += '\n';
        text.append(empty.size() * 2, ' ');
    }

    // Per open object or array: whether no member has been written yet.
    QVector<bool> empty;
};

// A string goes out as text only when importing that text in that encoding
// stores exactly its bytes again.
void writeString(JsonWriter &json, const ResString &string, bool modelName)
{
    json.open('{');
    if (const std::optional<RecordText> shown = storedText(string, modelName)) {
        json.next(TextFields[0]);
        json.string(shown->text.toUtf8());
        json.next(TextFields[1]);
        json.string(shown->encoding);
    } else {
        json.next(HexFields[0]);
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

void writeObject(JsonWriter &json, const ResObject &object)
{
    json.open('{');
    json.next(ObjectFields[0]);
    json.number(object.ObjectType);
    json.next(ObjectFields[1]);
    json.number(object.EntryTypeTypeID);
    for (const StringField &field : StringFields) {
        json.next(field.name);
        writeString(json, object.*field.member, field.modelName);
    }
    json.next(ObjectFields[5]);
    writeTable(json, object.Part1, Part1Fields);
    json.next(ObjectFields[6]);
    writeTable(json, object.Part2, Part2Fields);
    json.close('}');
}

QString typeName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("true or false");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

// A JSON path such as objects[3].Part1[0].Value2, kept as a chain of parents on
// the stack and spelled out only for a fault: a file has a million fields.
struct JsonPath
{
    const JsonPath *parent;
    const char *key;
    int index;

    JsonPath member(const char *name) const { return { this, name, -1 }; }
    JsonPath element(int i) const { return { this, nullptr, i }; }

    // The root's path is empty.
    QString toString() const
    {
        if (!parent)
            return QString();
        const QString path = parent->toString();
        if (key)
            return path.isEmpty() ? QLatin1String(key)
                                  : path + QLatin1Char('.') + QLatin1String(key);
        return path + QLatin1Char('[') + QString::number(index) + QLatin1Char(']');
    }
};

const JsonPath Root = { nullptr, nullptr, -1 };

// Reads the contents of a RES file from a parsed JSON document, checking every
// field; the first fault ends the reading with its JSON path and reason.
class JsonReader
{
public:
    bool readContents(const QJsonDocument &document, ResStruct &contents);
    QString error;

private:
    bool fail(const QString &path, const QString &reason);
    bool expected(const JsonPath &path, const char *what, const QJsonValue &found);
    template<typename Name, size_t Count>
    bool readFields(const QJsonValue &value, const JsonPath &path, const Name (&names)[Count],
            size_t required, QJsonValue (&values)[Count]);
    bool readInteger(const QJsonValue &value, const JsonPath &path, qint32 &number);
    bool readHex(const QJsonValue &value, const JsonPath &path, QByteArray &bytes);
    bool readString(const QJsonValue &value, const JsonPath &path, ResString &string);
    bool readText(const QJsonValue &value, const JsonPath &path, ResString &string);
    bool readObject(const QJsonValue &value, const JsonPath &path, ResObject &object);

    template<typename Entry, size_t FieldCount>
    bool readTable(const QJsonValue &value, const JsonPath &path,
            const Field<Entry> (&fields)[FieldCount], qint32 &count, QVector<Entry> &table);
};

bool JsonReader::fail(const QString &path, const QString &reason)
{
    error = path.isEmpty() ? reason : path + QLatin1String(": ") + reason;
    return false;
}

bool JsonReader::expected(const JsonPath &path, const char *what, const QJsonValue &found)
{
    return fail(path.toString(),
            QStringLiteral("expected %1, found %2.").arg(QLatin1String(what), typeName(found)));
}

// Reads the fields of an object into `values`, in the order of `names` (field
// names or Fields): the first `required` must be there, the others may be, and
// the object may have no other field.
template<typename Name, size_t Count>
bool JsonReader::readFields(const QJsonValue &value, const JsonPath &path,
        const Name (&names)[Count], size_t required, QJsonValue (&values)[Count])
{
    if (!value.isObject())
        return expected(path, "an object", value);
    const QJsonObject object = value.toObject();
    int known = 0;
    for (size_t i = 0; i < Count; ++i) {
        values[i] = object.value(QLatin1String(nameOf(names[i])));
        known += !values[i].isUndefined();
    }
    if (known != object.size()) {
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            const auto isKey = [&it](const Name &name) {
                return it.key() == QLatin1String(nameOf(name));
            };
            if (std::none_of(std::begin(names), std::end(names), isKey)) {
                const QString where = path.toString();
                return fail(where.isEmpty() ? it.key() : where + QLatin1Char('.') + it.key(),
                        QStringLiteral("there is no such field."));
            }
        }
    }
    for (size_t i = 0; i < required; ++i) {
        if (values[i].isUndefined())
            return fail(path.member(nameOf(names[i])).toString(),
                    QStringLiteral("the field is missing."));
    }
    return true;
}

bool JsonReader::readInteger(const QJsonValue &value, const JsonPath &path, qint32 &number)
{
    if (!value.isDouble())
        return expected(path, "an integer", value);
    // JSON numbers arrive as doubles, which hold every int32 exactly.
    const double found = value.toDouble();
    const char *fault = nullptr;
    if (found != std::floor(found))
        fault = "%1 is not an integer.";
    else if (found < std::numeric_limits<qint32>::min()
            || found > std::numeric_limits<qint32>::max())
        fault = "%1 is outside the int32 range.";
    if (fault) {
        // An integer is named as written, not as 3e+09.
        const bool integral = found == std::floor(found) && std::abs(found) < 1e18;
        return fail(path.toString(),
                QString::fromLatin1(fault).arg(integral
                                ? QString::number(found, 'f', 0)
                                : QString::number(found, 'g', QLocale::FloatingPointShortest)));
    }
    number = qint32(found);
    return true;
}

bool JsonReader::readHex(const QJsonValue &value, const JsonPath &path, QByteArray &bytes)
{
    if (!value.isString())
        return expected(path, "a string of hex digits", value);
    const QString digits = value.toString();
    for (const QChar digit : digits) {
        if (digit.unicode() > 0x7f || !std::isxdigit(digit.unicode()))
            return fail(path.toString(), QStringLiteral("'%1' is not a hex digit.").arg(digit));
    }
    if (digits.size() % 2 != 0) {
        return fail(path.toString(),
                QStringLiteral("an odd number of hex digits (%1).").arg(digits.size()));
    }
    bytes = QByteArray::fromHex(digits.toLatin1());
    return true;
}

bool JsonReader::readString(const QJsonValue &value, const JsonPath &path, ResString &string)
{
    if (!value.isObject() || !value.toObject().contains(QLatin1String("hex")))
        return readText(value, path, string);
    QJsonValue hex[1];
    QByteArray bytes;
    const JsonPath hexPath = path.member(HexFields[0]);
    if (!readFields(value, path, HexFields, 1, hex) || !readHex(hex[0], hexPath, bytes))
        return false;
    if (bytes.size() < ResStringMinLength || bytes.size() > ResStringMaxLength) {
        return fail(hexPath.toString(),
                QStringLiteral("%1 bytes; a string holds %2 to %3, its zero byte included.")
                        .arg(bytes.size())
                        .arg(ResStringMinLength)
                        .arg(ResStringMaxLength));
    }
    if (!bytes.contains('\0')) {
        return fail(hexPath.toString(),
                QStringLiteral("the bytes hold no zero byte to end the string."));
    }
    string.Length = bytes.size();
    std::memcpy(string.Text, bytes.constData(), size_t(bytes.size()));
    return true;
}

bool JsonReader::readText(const QJsonValue &value, const JsonPath &path, ResString &string)
{
    QJsonValue fields[2];
    if (!readFields(value, path, TextFields, 1, fields))
        return false;
    const JsonPath textPath = path.member(TextFields[0]);
    const JsonPath encodingPath = path.member(TextFields[1]);
    if (!fields[0].isString())
        return expected(textPath, "a string", fields[0]);
    if (!fields[1].isUndefined() && !fields[1].isString())
        return expected(encodingPath, "a string", fields[1]);
    const QString encoding = fields[1].toString(QLatin1String(DefaultEncoding));
    QTextCodec *codec = codecNamed(encoding);
    if (!codec) {
        return fail(encodingPath.toString(),
                QStringLiteral("unknown encoding \"%1\"; use gb18030, big5 or utf-8.")
                        .arg(encoding));
    }

    const QString text = fields[0].toString();
    if (text.contains(QChar(0))) {
        return fail(textPath.toString(),
                QStringLiteral("a zero character would end the string there."));
    }
    const QByteArray bytes = codec->fromUnicode(text);
    if (codec->toUnicode(bytes) != text) {
        const auto characters = text.toUcs4();
        const auto lost = std::find_if(characters.begin(), characters.end(), [codec](uint c) {
            const char32_t unit = c;
            const QString character = QString::fromUcs4(&unit, 1);
            return codec->toUnicode(codec->fromUnicode(character)) != character;
        });
        const char32_t character = lost == characters.end() ? 0 : *lost;
        return fail(textPath.toString(),
                QStringLiteral("%1 cannot represent \"%2\" (U+%3); a text without \"encoding\" "
                               "is stored as GB18030.")
                        .arg(encoding, QString::fromUcs4(&character, 1),
                                QString::number(uint(character), 16)
                                        .toUpper()
                                        .rightJustified(4, '0')));
    }
    if (bytes.size() > ResStringMaxTextBytes) {
        return fail(textPath.toString(),
                QStringLiteral("the text takes %1 bytes in %2; at most %3 fit.")
                        .arg(bytes.size())
                        .arg(encoding)
                        .arg(ResStringMaxTextBytes));
    }
    string.Length = bytes.size() + 1;
    std::memcpy(string.Text, bytes.constData(), size_t(bytes.size()));
    string.Text[bytes.size()] = '\0';
    return true;
}

template<typename Entry, size_t FieldCount>
bool JsonReader::readTable(const QJsonValue &value, const JsonPath &path,
        const Field<Entry> (&fields)[FieldCount], qint32 &count, QVector<Entry> &table)
{
    if (!value.isArray())
        return expected(path, "an array", value);
    const QJsonArray entries = value.toArray();
    table.resize(entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        const JsonPath entryPath = path.element(i);
        QJsonValue values[FieldCount];
        if (!readFields(entries.at(i), entryPath, fields, FieldCount, values))
            return false;
        for (size_t j = 0; j < FieldCount; ++j) {
            if (!readInteger(
                        values[j], entryPath.member(fields[j].name), table[i].*fields[j].member))
                return false;
        }
    }
    count = table.size();
    return true;
}

bool JsonReader::readObject(const QJsonValue &value, const JsonPath &path, ResObject &object)
{
    // The values in the order of ObjectFields.
    QJsonValue fields[std::size(ObjectFields)];
    if (!readFields(value, path, ObjectFields, std::size(ObjectFields), fields))
        return false;
    if (!readInteger(fields[0], path.member(ObjectFields[0]), object.ObjectType)
            || !readInteger(fields[1], path.member(ObjectFields[1]), object.EntryTypeTypeID))
        return false;
    for (size_t i = 0; i < std::size(StringFields); ++i) {
        const StringField &field = StringFields[i];
        if (!readString(fields[2 + i], path.member(field.name), object.*field.member))
            return false;
    }
    return readTable(fields[5], path.member(ObjectFields[5]), Part1Fields, object.Part1Count,
                   object.Part1)
            && readTable(fields[6], path.member(ObjectFields[6]), Part2Fields, object.Part2Count,
                    object.Part2);
}

bool JsonReader::readContents(const QJsonDocument &document, ResStruct &contents)
{
    if (!document.isObject())
        return fail(QString(), QStringLiteral("the JSON text is not an object."));
    QJsonValue fields[std::size(RootFields)];
    if (!readFields(document.object(), Root, RootFields, 2, fields))
        return false;

    ResStruct read;
    QByteArray header;
    const JsonPath headerPath = Root.member(RootFields[0]);
    if (!readHex(fields[0], headerPath, header))
        return false;
    if (header.size() != ResHeaderSize) {
        return fail(headerPath.toString(),
                QStringLiteral("%1 hex digits; the header takes %2.")
                        .arg(header.size() * 2)
                        .arg(ResHeaderSize * 2));
    }
    std::memcpy(&read.header, header.constData(), ResHeaderSize);

    const JsonPath objectsPath = Root.member(RootFields[1]);
    if (!fields[1].isArray())
        return expected(objectsPath, "an array", fields[1]);
    const QJsonArray objects = fields[1].toArray();
    if (objects.size() > MaxObjectCount) {
        return fail(objectsPath.toString(),
                QStringLiteral("%1 objects; a RES file holds at most %2.")
                        .arg(objects.size())
                        .arg(MaxObjectCount));
    }
    read.objects.resize(objects.size());
    for (int i = 0; i < objects.size(); ++i) {
        if (!readObject(objects.at(i), objectsPath.element(i), read.objects[i]))
            return false;
    }
    read.header.ObjectCount = qint16(read.objects.size());

    if (!fields[2].isUndefined() && !readHex(fields[2], Root.member(RootFields[2]), read.trailing))
        return false;
    contents = std::move(read);
    return true;
}

} // namespace

QByteArray exportJson(const ResStruct &contents)
{
    JsonWriter json;
    json.open('{');
    json.next("header");
    json.string(
            QByteArray::fromRawData(reinterpret_cast<const char *>(&contents.header), ResHeaderSize)
                    .toHex());
    json.next("objects");
    json.open('[');
    for (const ResObject &object : contents.objects) {
        json.next();
        writeObject(json, object);
    }
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
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const QByteArray before = json.left(parseError.offset);
        *error = QStringLiteral("line %1, column %2: %3.")
                         .arg(before.count('\n') + 1)
                         .arg(before.size() - before.lastIndexOf('\n'))
                         .arg(parseError.errorString());
        return false;
    }
    JsonReader reader;
    if (!reader.readContents(document, *contents)) {
        *error = reader.error;
        return false;
    }
    return true;
}
