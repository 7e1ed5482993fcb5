#include "resbytes.h"

#include <QDataStream>
#include <QFile>
#include <QRandomGenerator>

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
        { 5, 5005, texts("say \"hi\"\\\t", "\xa6\x61\xb9\xcf"), {},
                { { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 },
                        { -1, -2, -3, -4, -5, -6, -7, -8, -9, -10 } } },
        { 9, 7, texts("x") },
    };
    file.trailing = "kept";
    return file;
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
