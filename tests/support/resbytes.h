#pragma once

#include <QByteArray>
#include <QVector>

#include <array>

// The tests' own model of a RES file, written from the byte layout without the
// program's code, so that expected bytes never come from the code under test.
namespace testres {

// Type, Value1, Value2.
using Entry1 = std::array<qint32, 3>;
// unknown2, unknown3, effectType, cycle, actionType, unknonw6, typeValue,
// unknown8, unknown9, unknown10.
using Entry2 = std::array<qint32, 10>;

struct Object
{
    qint32 objectType = 1;
    qint32 id = 0;
    // The stored bytes of each string, zero byte included; its length field
    // counts them.
    std::array<QByteArray, 3> strings = { QByteArray(1, 0), QByteArray(1, 0), QByteArray(1, 0) };
    QVector<Entry1> part1;
    QVector<Entry2> part2;
};

struct File
{
    QByteArray head = QByteArray(52, 0);
    // Written as the header's count; -1 means "the number of objects".
    int objectCount = -1;
    QByteArray tail = QByteArray(6, 0);
    QVector<Object> objects;
    QByteArray trailing;
};

// text plus its terminating zero byte.
inline QByteArray stored(const QByteArray &text)
{
    return text + '\0';
}
QByteArray toBytes(const File &file);

// A file of objectCount objects drawn from seed: every object type (and some
// unknown ones when withUnknownTypes), empty and filled tables, strings of 1 to
// 254 bytes in ASCII, GB18030 and Big5, and bytes behind the zero byte.
File generateFile(quint32 seed, int objectCount, bool withUnknownTypes = true);

bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray readAll(const QString &path);

} // namespace testres
