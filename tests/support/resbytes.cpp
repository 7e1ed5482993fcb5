#include "resbytes.h"

#include <QDataStream>
#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>

namespace testres {

namespace {

QByteArray randomText(QRandomGenerator &random, int maxBytes)
{
    static const char *const gbSamples[] = { "\xc4\xe3\xba\xc3", "\xce\xe4\xc6\xf7",
        "\xb5\xc0\xbe\xdf" };
    static const char *const big5Samples[] = { "\xa4\x40\xaa\x41", "\xaa\x5a\xbe\xb9",
        "\xa6\x57\xba\xd9" };
    QByteArray text;
    const int kind = random.bounded(3);
    const int target = random.bounded(maxBytes + 1);
    while (text.size() < target) {
        QByteArray piece;
        if (kind == 0)
            piece = QByteArray(1, char('A' + random.bounded(26)));
        else if (kind == 1)
            piece = gbSamples[random.bounded(3)];
        else
            piece = big5Samples[random.bounded(3)];
        if (text.size() + piece.size() > target)
            break;
        text += piece;
    }
    return text;
}

QByteArray randomString(QRandomGenerator &random)
{
    switch (random.bounded(6)) {
    case 0:
        return stored(QByteArray());
    case 1: {
        // The longest string: 253 bytes of text and the zero byte.
        return stored(QByteArray(253, char('a' + random.bounded(26))));
    }
    case 2: {
        // Bytes behind the zero byte are carried through.
        QByteArray text = stored(randomText(random, 40));
        text += randomText(random, 20);
        text += char(random.bounded(256));
        return text.left(254);
    }
    default:
        return stored(randomText(random, 60));
    }
}

} // namespace

QByteArray stored(const QByteArray &text)
{
    return text + QByteArray(1, '\0');
}

QByteArray objectBytes(const Object &object)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << object.objectType << object.id;
    for (const QByteArray &string : object.strings) {
        stream << qint32(string.size());
        stream.writeRawData(string.constData(), string.size());
    }
    stream << qint32(object.part1.size());
    for (const Entry1 &entry : object.part1)
        stream << entry.type << entry.value1 << entry.value2;
    stream << qint32(object.part2.size());
    for (const Entry2 &entry : object.part2) {
        for (qint32 field : entry)
            stream << field;
    }
    return out;
}

QByteArray toBytes(const File &file)
{
    QByteArray out = file.head.leftJustified(52, '\0', true);
    const int count = file.objectCount < 0 ? file.objects.size() : file.objectCount;
    char countBytes[2];
    qToLittleEndian(qint16(count), countBytes);
    out.append(countBytes, 2);
    out += file.tail.leftJustified(6, '\0', true);
    for (const Object &object : file.objects)
        out += objectBytes(object);
    return out;
}

bool fromBytes(const QByteArray &bytes, File *file)
{
    if (bytes.size() < 60)
        return false;
    file->head = bytes.left(52);
    file->objectCount = qFromLittleEndian<qint16>(bytes.constData() + 52);
    file->tail = bytes.mid(54, 6);
    file->objects.clear();
    QDataStream in(bytes.mid(60));
    in.setByteOrder(QDataStream::LittleEndian);
    // A count is checked against the bytes left before anything is sized by it.
    const auto fits = [&in](qint32 count, int entrySize) {
        return count >= 0 && count <= in.device()->bytesAvailable() / entrySize;
    };
    for (int i = 0; i < file->objectCount && in.status() == QDataStream::Ok; ++i) {
        Object object;
        in >> object.objectType >> object.id;
        for (QByteArray &string : object.strings) {
            qint32 length = 0;
            in >> length;
            if (length < 1 || length > 254 || !fits(length, 1))
                return false;
            string.resize(length);
            in.readRawData(string.data(), length);
            if (!string.contains('\0'))
                return false;
        }
        qint32 count = 0;
        in >> count;
        if (!fits(count, 12))
            return false;
        object.part1.resize(count);
        for (Entry1 &entry : object.part1)
            in >> entry.type >> entry.value1 >> entry.value2;
        count = 0;
        in >> count;
        if (!fits(count, 40))
            return false;
        object.part2.resize(count);
        for (Entry2 &entry : object.part2) {
            for (qint32 &field : entry)
                in >> field;
        }
        file->objects.append(object);
    }
    return file->objectCount >= 0 && in.status() == QDataStream::Ok;
}

File generateFile(quint32 seed, int objectCount, bool withUnknownTypes)
{
    QRandomGenerator random(seed);
    File file;
    for (char &byte : file.head)
        byte = char(random.bounded(256));
    for (char &byte : file.tail)
        byte = char(random.bounded(256));
    for (int i = 0; i < objectCount; ++i) {
        Object object;
        object.objectType = 1 + i % 5;
        if (withUnknownTypes && random.bounded(10) == 0)
            object.objectType = random.bounded(2) ? 0 : 6 + random.bounded(100);
        object.id = qint32(random.generate());
        for (QByteArray &string : object.strings)
            string = randomString(random);
        const int part1Count = random.bounded(4) == 0 ? 0 : random.bounded(8);
        for (int j = 0; j < part1Count; ++j)
            object.part1.append({ qint32(random.bounded(20)), qint32(random.generate()),
                    qint32(random.generate()) });
        const int part2Count = random.bounded(3) == 0 ? 0 : random.bounded(5);
        for (int j = 0; j < part2Count; ++j) {
            Entry2 entry;
            for (qint32 &field : entry)
                field = qint32(random.generate());
            entry[2] = random.bounded(12);
            object.part2.append(entry);
        }
        file.objects.append(object);
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
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace testres
