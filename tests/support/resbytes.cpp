#include "resbytes.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>

namespace testres {

namespace {

void putInt32(QByteArray &out, qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

class Cursor
{
public:
    explicit Cursor(const QByteArray &bytes) : bytes(bytes) { }

    bool int32(qint32 *value)
    {
        if (bytes.size() - position < 4)
            return false;
        *value = qFromLittleEndian<qint32>(bytes.constData() + position);
        position += 4;
        return true;
    }

    bool take(int size, QByteArray *out)
    {
        if (size < 0 || bytes.size() - position < size)
            return false;
        *out = bytes.mid(position, size);
        position += size;
        return true;
    }

private:
    // A copy: callers hand in temporaries such as bytes.mid(60).
    const QByteArray bytes;
    int position = 0;
};

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
    putInt32(out, object.objectType);
    putInt32(out, object.id);
    for (const QByteArray &string : object.strings) {
        putInt32(out, string.size());
        out += string;
    }
    putInt32(out, object.part1.size());
    for (const Entry1 &entry : object.part1) {
        putInt32(out, entry.type);
        putInt32(out, entry.value1);
        putInt32(out, entry.value2);
    }
    putInt32(out, object.part2.size());
    for (const Entry2 &entry : object.part2) {
        for (qint32 field : entry)
            putInt32(out, field);
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
    if (file->objectCount < 0)
        return false;
    Cursor cursor(bytes.mid(60));
    for (int i = 0; i < file->objectCount; ++i) {
        Object object;
        if (!cursor.int32(&object.objectType) || !cursor.int32(&object.id))
            return false;
        for (QByteArray &string : object.strings) {
            qint32 length;
            if (!cursor.int32(&length) || length < 1 || length > 254
                || !cursor.take(length, &string) || !string.contains('\0'))
                return false;
        }
        qint32 count;
        if (!cursor.int32(&count) || count < 0)
            return false;
        for (int j = 0; j < count; ++j) {
            Entry1 entry;
            if (!cursor.int32(&entry.type) || !cursor.int32(&entry.value1)
                || !cursor.int32(&entry.value2))
                return false;
            object.part1.append(entry);
        }
        if (!cursor.int32(&count) || count < 0)
            return false;
        for (int j = 0; j < count; ++j) {
            Entry2 entry;
            for (qint32 &field : entry) {
                if (!cursor.int32(&field))
                    return false;
            }
            object.part2.append(entry);
        }
        file->objects.append(object);
    }
    return true;
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
