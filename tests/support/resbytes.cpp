#include "resbytes.h"

#include <QDataStream>
#include <QFile>

#include <limits>

namespace testres {

QByteArray toBytes(const File &file)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    const auto raw = [&stream](const QByteArray &bytes) {
        stream.writeRawData(bytes.constData(), bytes.size());
    };
    raw(file.head);
    stream << qint16(file.objectCount < 0 ? file.objects.size() : file.objectCount);
    raw(file.tail);
    for (const Object &object : file.objects) {
        stream << object.objectType << object.id;
        for (const QByteArray &string : object.strings) {
            stream << qint32(string.size());
            raw(string);
        }
        stream << qint32(object.part1.size());
        for (const Entry1 &entry : object.part1)
            stream << entry[0] << entry[1] << entry[2];
        stream << qint32(object.part2.size());
        for (const Entry2 &entry : object.part2) {
            for (qint32 field : entry)
                stream << field;
        }
    }
    raw(file.trailing);
    return out;
}

File allKinds()
{
    File file;
    file.head = QByteArray("Drovanel's sample header").leftJustified(52, '.');
    file.tail = "\x01\x02\x03\xfd\xfe\xff";
    file.objects = {
        { 1, 1001, texts("\xcd\xc0\xc1\xfa\xb5\xb6", "m_sword", "\xce\xe4\xc6\xf7"),
                { { 12, 5, -7 }, { 99, 1, 2 } }, { { 2, 0, 1, 3, 0, 0, 0, 0, 0, -10 } } },
        { 2, 2002, texts("\xbe\x5c\xc5\xaa", "\xe6\xa8\xa1\xe5\x9e\x8b", "\xbd\xf0\xb1\xd2x100"),
                { { 1, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max() } } },
        { 3, -1 },
        { 4, 4004,
                { QByteArray("a\0b", 3), QByteArray("\x80", 2),
                        stored("\x1f" + QByteArray(252, 'z')) } },
        { 5, 5005, texts("\xce", "\xa6\x61\xb9\xcf", "say \"hi\"\\\t\b\f\n\r\x7f"), {},
                { { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 },
                        { -1, -2, -3, -4, -5, -6, -7, -8, -9, -10 } } },
        { 9, 7, texts("x") },
    };
    file.trailing = "kept";
    return file;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace testres
