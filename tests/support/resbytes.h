#pragma once

#include <QByteArray>
#include <QVector>

#include <array>
#include <utility>

// The tests' own model of a RES file, written from the byte layout without the
// program's code, so that expected bytes never come from the code under test.
namespace testres {

// Type, Value1, Value2.
using Entry1 = std::array<qint32, 3>;
// unknown2, unknown3, effectType, cycle, actionType, unknonw6, typeValue,
// unknown8, unknown9, unknown10.
using Entry2 = std::array<qint32, 10>;

// text plus its terminating zero byte.
inline QByteArray stored(const QByteArray &text)
{
    return text + '\0';
}
// An object's three strings, stored.
inline std::array<QByteArray, 3> texts(
        const QByteArray &string1, const QByteArray &string2 = {}, const QByteArray &string3 = {})
{
    return { stored(string1), stored(string2), stored(string3) };
}

struct Object
{
    Object(qint32 objectType = 1, qint32 id = 0, std::array<QByteArray, 3> strings = texts({}),
            QVector<Entry1> part1 = {}, QVector<Entry2> part2 = {})
        : objectType(objectType)
        , id(id)
        , strings(std::move(strings))
        , part1(std::move(part1))
        , part2(std::move(part2))
    {
    }

    qint32 objectType;
    qint32 id;
    // The stored bytes of each string, zero byte included; its length field
    // counts them.
    std::array<QByteArray, 3> strings;
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

QByteArray toBytes(const File &file);

// Every object type and an unknown one, texts in GB18030 ("屠龙刀", "武器",
// "金币x100"), Big5 ("閱讀" with a backslash as trail byte, "地圖" as a model
// name) and UTF-8 ("模型"), strings that are not text (bytes behind the zero
// byte, a byte that no encoding reads alone, a character left open before the
// next string, the longest), control characters, empty and full tables, the ends of int32, opaque
// header bytes and bytes after the last object.
File allKinds();

bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray readAll(const QString &path);

} // namespace testres
