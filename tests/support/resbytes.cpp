#include "resbytes.h"

#include <QDataStream>
#include <QFile>
#include <QRandomGenerator>

#include <climits>

namespace testres {

namespace {

QDataStream &operator<<(QDataStream &out, const Object &object)
{
    out << object.objectType << object.id;
    for (const QByteArray &string : object.strings) {
        out << qint32(string.size());
        out.writeRawData(string.constData(), string.size());
    }
    out << qint32(object.part1.size());
    for (const Entry1 &entry : object.part1)
        out << entry.type << entry.value1 << entry.value2;
    out << qint32(object.part2.size());
    for (const Entry2 &entry : object.part2) {
        for (qint32 field : entry)
            out << field;
    }
    return out;
}

// Reads a count and checks it against the bytes left before anything is sized by it.
bool readCount(QDataStream &in, int entrySize, int minimum, int maximum, qint32 &count)
{
    in >> count;
    return count >= minimum && count <= maximum
            && count <= in.device()->bytesAvailable() / entrySize;
}

QByteArray randomString(QRandomGenerator &random)
{
    // "Wuqi" in GB18030 and "Yi" in Big5, a pair with a trail below 0x80.
    static const QByteArray pieces[] = { "A", "\xce\xe4\xc6\xf7", "\xa4\x40" };
    const QByteArray &piece = pieces[random.bounded(3)];
    switch (random.bounded(4)) {
    case 0:
        return stored(QByteArray(253, 'z'));
    case 1:
        // Bytes behind the zero byte are carried through.
        return stored(piece) + piece;
    default:
        return stored(piece.repeated(random.bounded(30)));
    }
}

} // namespace

QByteArray stored(const QByteArray &text)
{
    return text + '\0';
}

QByteArray toBytes(const File &file)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.writeRawData(file.head.leftJustified(52, '\0', true).constData(), 52);
    stream << qint16(file.objectCount < 0 ? file.objects.size() : file.objectCount);
    stream.writeRawData(file.tail.leftJustified(6, '\0', true).constData(), 6);
    for (const Object &object : file.objects)
        stream << object;
    return out + file.trailing;
}

bool fromBytes(const QByteArray &bytes, File *file)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    qint16 count = -1;
    file->head.resize(52);
    file->tail.resize(6);
    in.readRawData(file->head.data(), 52);
    in >> count;
    in.readRawData(file->tail.data(), 6);
    file->objectCount = count;
    file->objects.clear();
    for (int i = 0; i < count; ++i) {
        Object object;
        in >> object.objectType >> object.id;
        for (QByteArray &string : object.strings) {
            qint32 length;
            if (!readCount(in, 1, 1, 254, length))
                return false;
            string.resize(length);
            in.readRawData(string.data(), length);
            if (!string.contains('\0'))
                return false;
        }
        qint32 entries;
        if (!readCount(in, 12, 0, INT_MAX, entries))
            return false;
        object.part1.resize(entries);
        for (Entry1 &entry : object.part1)
            in >> entry.type >> entry.value1 >> entry.value2;
        if (!readCount(in, 40, 0, INT_MAX, entries))
            return false;
        object.part2.resize(entries);
        for (Entry2 &entry : object.part2) {
            for (qint32 &field : entry)
                in >> field;
        }
        file->objects.append(object);
    }
    file->trailing = in.device()->readAll();
    return count >= 0 && in.status() == QDataStream::Ok;
}

File generateFile(quint32 seed, int objectCount, bool withUnknownTypes)
{
    QRandomGenerator random(seed);
    File file;
    for (QByteArray *bytes : { &file.head, &file.tail }) {
        for (char &byte : *bytes)
            byte = char(random.bounded(256));
    }
    file.objects.resize(objectCount);
    for (int i = 0; i < objectCount; ++i) {
        Object &object = file.objects[i];
        const bool unknown = withUnknownTypes && random.bounded(10) == 0;
        object.objectType = unknown ? 6 + random.bounded(9) : 1 + i % 5;
        object.id = qint32(random.generate());
        for (QByteArray &string : object.strings)
            string = randomString(random);
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
