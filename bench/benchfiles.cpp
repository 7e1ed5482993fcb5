#include "benchfiles.h"

#include <QRandomGenerator>
#include <QtEndian>

namespace benchfiles {

namespace {

// The layout: a 60-byte header with the object count at offset 52, then per
// object its type and identifier, three strings (length counting the zero byte,
// then the bytes), and two tables of 12- and 40-byte entries after their counts.
constexpr int HeaderSize = 60;
constexpr int CountOffset = 52;

class Writer
{
public:
    explicit Writer(QByteArray &out)
        : out(out)
    {
    }

    void int32(qint32 value)
    {
        char bytes[4];
        qToLittleEndian(value, bytes);
        out.append(bytes, 4);
    }

    void string(const QByteArray &text)
    {
        int32(text.size() + 1);
        out += text;
        out += '\0';
    }

private:
    QByteArray &out;
};

// Two-byte characters from the common ranges of each encoding, so that the
// program's encoding guess sees text like the real thing.
QByteArray chineseText(QRandomGenerator &random, int characters, bool big5)
{
    QByteArray text;
    for (int i = 0; i < characters; ++i) {
        if (big5) {
            text += char(random.bounded(0xA4, 0xC6));
            text += char(
                    random.bounded(2) ? random.bounded(0x40, 0x7F) : random.bounded(0xA1, 0xFF));
        } else {
            text += char(random.bounded(0xB0, 0xD8));
            text += char(random.bounded(0xA1, 0xFF));
        }
        // Now and then a number, as in "Sword +3".
        if (random.bounded(8) == 0)
            text += char('0' + random.bounded(10));
    }
    return text;
}

QByteArray modelName(QRandomGenerator &random, int index)
{
    static const char *const kinds[] = { "wpn", "itm", "pose", "vip", "map" };
    return QByteArray(kinds[index % 5]) + '_' + QByteArray::number(index) + '_'
            + QByteArray::number(random.bounded(100)) + ".mdl";
}

void writeObject(Writer &writer, QRandomGenerator &random, int index, qint32 objectType,
        const EntryCounts &counts)
{
    static const qint32 part1Types[] = { 1, 2, 8, 11, 12, 13, 14, 15, 16, 17, 18 };
    const bool big5 = random.bounded(2);
    writer.int32(objectType);
    writer.int32(10000 + index);
    writer.string(chineseText(random, random.bounded(2, 13), big5));
    writer.string(modelName(random, index));
    writer.string(chineseText(random, random.bounded(10, 61), big5));
    writer.int32(counts.part1);
    for (int i = 0; i < counts.part1; ++i) {
        writer.int32(part1Types[random.bounded(11)]);
        writer.int32(qint32(random.bounded(100000)));
        writer.int32(qint32(random.bounded(100)));
    }
    writer.int32(counts.part2);
    for (int i = 0; i < counts.part2; ++i) {
        for (int field = 0; field < 10; ++field)
            writer.int32(field == 2 ? random.bounded(1, 7) : qint32(random.bounded(1000)));
    }
}

} // namespace

QByteArray generate(quint32 seed, int objectCount, const QVector<EntryCounts> &heavy)
{
    QRandomGenerator random(seed);
    QByteArray out;
    for (int i = 0; i < CountOffset; ++i)
        out += char(random.bounded(256));
    char count[2];
    qToLittleEndian(qint16(objectCount), count);
    out.append(count, 2);
    out += QByteArray(HeaderSize - CountOffset - 2, '\0');
    Writer writer(out);
    for (int i = 0; i < objectCount; ++i) {
        if (i < heavy.size()) {
            writeObject(writer, random, i, 1, heavy.at(i));
        } else {
            const EntryCounts few { random.bounded(1, 5), random.bounded(1, 4) };
            writeObject(writer, random, i, 1 + i % 5, few);
        }
    }
    return out;
}

} // namespace benchfiles
