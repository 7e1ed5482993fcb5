#pragma once

#include "recordtext.h"
#include "resfields.h"
#include "resstring.h"

#include <QString>
#include <QVector>

#include <cstring>
#include <optional>

// What the command-line tools know of a record beyond its bytes: how a string is
// shown, and which objects of two files are the same object.

// A string of a file with that evidence as the editor shows it, when its stored
// bytes are exactly that text in that encoding and its zero byte; none when they
// are not text.
std::optional<RecordText> storedText(
        const ResString &string, bool modelName, const TextEvidence &evidence);

// "(none)" for no bytes, else the bytes in hexadecimal.
inline QString bytesShown(const QByteArray &bytes)
{
    return bytes.isEmpty() ? QStringLiteral("(none)") : QString::fromLatin1(bytes.toHex());
}

// The header's bytes less its count, which a merge sets from the objects.
inline QByteArray headerLessCount(const ResHeader &header)
{
    ResHeader bytes = header;
    bytes.ObjectCount = 0;
    return QByteArray(reinterpret_cast<const char *>(&bytes), ResHeaderSize);
}

// "1 entry", "3 entries".
inline QString entries(int count)
{
    return count == 1 ? QStringLiteral("1 entry") : QStringLiteral("%1 entries").arg(count);
}

template<typename Entry>
bool sameTable(const QVector<Entry> &a, const QVector<Entry> &b)
{
    return a.size() == b.size()
            && std::memcmp(a.constData(), b.constData(), size_t(a.size()) * sizeof(Entry)) == 0;
}

bool sameObject(const ResObject &a, const ResObject &b);

// "Weapon 1001": the object's type as the tree names its folder, and its
// identifier.
QString objectName(const ResObject &object);

// Objects are the same object when they have the same identity, ObjectType and
// EntryTypeTypeID; several objects of one identity are matched in their order.
// For each object of `to`, the index of its match in `from`, or -1.
QVector<int> matchObjects(const QVector<ResObject> &from, const QVector<ResObject> &to);

// An object's identity as one number.
inline quint64 identityOf(const ResObject &object)
{
    return (quint64(quint32(object.ObjectType)) << 32) | quint32(object.EntryTypeTypeID);
}
// matchObjects() of the objects' identities.
QVector<int> matchIdentities(const QVector<quint64> &from, const QVector<quint64> &to);
