#include "resbytes.h"

#include <QDataStream>
#include <QFile>
#include <QRandomGenerator>

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

File generateFile(quint32 seed, int objectCount, bool withUnknownTypes)
{
    QRandomGenerator random(seed);
    File file;
    for (char &byte : file.head)
        byte = char(random.bounded(256));
    file.objects.resize(objectCount);
    for (int i = 0; i < objectCount; ++i) {
        Object &object = file.objects[i];
        const bool unknown = withUnknownTypes && random.bounded(10) == 0;
        object.objectType = unknown ? 6 + random.bounded(9) : 1 + i % 5;
        object.id = qint32(random.generate());
        // Up to the longest text, of ASCII, GB18030 "Wuqi" and Big5 "Yi" (a trail
        // byte below 0x80), some cut inside a character and some with bytes behind
        // the zero byte.
        for (QByteArray &string : object.strings) {
            string = QByteArray("z\xce\xe4\xc6\xf7\xa4\x40")
                             .repeated(38)
                             .mid(random.bounded(7), random.bounded(1, 255));
            string[random.bounded(2) ? string.size() - 1 : random.bounded(string.size())] = '\0';
        }
        object.part1.resize(random.bounded(8));
        for (Entry1 &entry : object.part1)
            entry = { random.bounded(20), qint32(random.generate()), qint32(random.generate()) };
        object.part2.resize(random.bounded(5));
        for (Entry2 &entry : object.part2) {
            for (qint32 &field : entry)
                field = qint32(random.generate());
            entry[2] = random.bounded(12);
        }
    }
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
