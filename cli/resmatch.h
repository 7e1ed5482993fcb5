#pragma once

#include "recordtext.h"
#include "resrecords.h"

#include <QString>
#include <QVector>

#include <cstring>
#include <optional>

// What the command-line tools know of a record beyond its bytes: the names of
// its fields, how a string is shown, and which objects of two files are the
// same object.

template<typename Record>
struct Field
{
    const char *name;
    qint32 Record::*member;
};

// The fields of the two kinds of table entry in file order, named as their
// forms name them.
inline const Field<Part1SubObject> Part1Fields[] = {
    { "Type", &Part1SubObject::Type },
    { "Value1", &Part1SubObject::Value1 },
    { "Value2", &Part1SubObject::Value2 },
};

inline const Field<Part2SubObject> Part2Fields[] = {
    { "unknown2", &Part2SubObject::unknown2 },
    { "unknown3", &Part2SubObject::unknown3 },
    { "effectType", &Part2SubObject::effectType },
    { "cycle", &Part2SubObject::cycle },
    { "actionType", &Part2SubObject::actionType },
    { "unknonw6", &Part2SubObject::unknonw6 },
    { "typeValue", &Part2SubObject::typeValue },
    { "unknown8", &Part2SubObject::unknown8 },
    { "unknown9", &Part2SubObject::unknown9 },
    { "unknown10", &Part2SubObject::unknown10 },
};

struct StringField
{
    const char *name;
    ResString ResObject::*member;
    // String2 holds a model name, which the editor may show as UTF-8.
    bool modelName;
};

inline const StringField StringFields[] = {
    { "String1", &ResObject::String1, false },
    { "String2", &ResObject::String2, true },
    { "String3", &ResObject::String3, false },
};

// A string of a file with that evidence as the editor shows it, when its stored
// bytes are exactly that text in that encoding and its zero byte; none when they
// are not text.
std::optional<RecordText> storedText(
        const ResString &string, bool modelName, const TextEvidence &evidence);

// The stored bytes of a string, its zero byte included.
inline QByteArray storedBytes(const ResString &string)
{
    return QByteArray(string.Text, string.Length);
}

// "(none)" for no bytes, else the bytes in hexadecimal.
inline QString bytesShown(const QByteArray &bytes)
{
    return bytes.isEmpty() ? QStringLiteral("(none)") : QString::fromLatin1(bytes.toHex());
}

// "1 entry", "3 entries".
inline QString entries(int count)
{
    return count == 1 ? QStringLiteral("1 entry") : QStringLiteral("%1 entries").arg(count);
}

inline bool sameString(const ResString &a, const ResString &b)
{
    return a.Length == b.Length && std::memcmp(a.Text, b.Text, size_t(a.Length)) == 0;
}

template<typename Entry>
bool sameTable(const QVector<Entry> &a, const QVector<Entry> &b)
{
    return a.size() == b.size()
            && std::memcmp(a.constData(), b.constData(), size_t(a.size()) * sizeof(Entry)) == 0;
}

bool sameObject(const ResObject &a, const ResObject &b);

// "Weapon 1001": the object's type as the editor names it, and its identifier.
QString objectName(const ResObject &object);

// Objects are the same object when they have the same identity, ObjectType and
// EntryTypeTypeID; several objects of one identity are matched in their order.
// For each object of `to`, the index of its match in `from`, or -1.
QVector<int> matchObjects(const QVector<ResObject> &from, const QVector<ResObject> &to);
