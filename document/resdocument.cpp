#include "resdocument.h"

#include <QSaveFile>

#include <cstring>
#include <utility>

namespace {

// Reads the records of a RES file from its bytes in memory, and checks every
// length and count against the bytes that remain before it allocates or copies
// anything. A read call per field cost far more than the copy of its few bytes.
class ResReader
{
    Q_DECLARE_TR_FUNCTIONS(ResDocument)

public:
    // size is what the device said it holds from its position; bytes may fall
    // short of it when the device failed part way, and reading stops there.
    ResReader(const QByteArray &bytes, qint64 size)
        : bytes(bytes)
        , remaining(size)
    {
    }

    bool readContents(ResStruct &contents);
    QString error;

private:
    bool take(void *data, qint64 size);
    bool readObject(int index, ResObject &object);
    bool readString(int index, const char *name, ResString &string);
    bool readRaw(int index, const char *what, void *data, qint64 size);
    bool fail(int index, qint64 at, const QString &reason);

    template<typename Entry>
    bool readTable(int index, const char *countName, qint32 &count, QVector<Entry> &table);

    const QByteArray &bytes;
    qint64 offset = 0;
    qint64 remaining;
};

bool ResReader::take(void *data, qint64 size)
{
    if (size > remaining || size > bytes.size() - offset)
        return false;
    std::memcpy(data, bytes.constData() + offset, size_t(size));
    offset += size;
    remaining -= size;
    return true;
}

bool ResReader::fail(int index, qint64 at, const QString &reason)
{
    error = tr("object %1 at offset %2: %3").arg(index).arg(at).arg(reason);
    return false;
}

bool ResReader::readRaw(int index, const char *what, void *data, qint64 size)
{
    if (!take(data, size))
        return fail(index, offset, tr("the file ends inside %1.").arg(QLatin1String(what)));
    return true;
}

bool ResReader::readContents(ResStruct &contents)
{
    if (remaining < ResHeaderSize || !take(&contents.header, ResHeaderSize)) {
        error = tr("the file holds %1 bytes, fewer than the %2 bytes of the header.")
                        .arg(qMax<qint64>(remaining, 0))
                        .arg(ResHeaderSize);
        return false;
    }

    const int objectCount = contents.header.ObjectCount;
    if (objectCount < 0) {
        error = tr("offset %1: ObjectCount %2 is negative.").arg(OpaqueHeadSize).arg(objectCount);
        return false;
    }
    if (qint64(objectCount) * MinObjectBlockSize > remaining) {
        error = tr("offset %1: ObjectCount %2 needs at least %3 bytes of objects, but only %4 "
                   "bytes follow the header.")
                        .arg(OpaqueHeadSize)
                        .arg(objectCount)
                        .arg(qint64(objectCount) * MinObjectBlockSize)
                        .arg(remaining);
        return false;
    }

    contents.objects.reserve(qMax(objectCount, ObjectReservation));
    contents.objects.resize(objectCount);
    for (int i = 0; i < objectCount; ++i) {
        if (!readObject(i, contents.objects[i]))
            return false;
    }
    contents.trailing = bytes.mid(int(offset), int(qMin(remaining, bytes.size() - offset)));
    if (contents.trailing.size() != remaining) {
        error = tr("offset %1: the %2 bytes after the last object cannot be read.")
                        .arg(offset)
                        .arg(remaining);
        return false;
    }
    return true;
}

bool ResReader::readObject(int index, ResObject &object)
{
    return readRaw(index, "ObjectType", &object.ObjectType, ObjectTypeAndIdSize)
            && readString(index, "String1", object.String1)
            && readString(index, "String2", object.String2)
            && readString(index, "String3", object.String3)
            && readTable(index, "Part1Count", object.Part1Count, object.Part1)
            && readTable(index, "Part2Count", object.Part2Count, object.Part2);
}

bool ResReader::readString(int index, const char *name, ResString &string)
{
    const qint64 lengthOffset = offset;
    if (!readRaw(index, name, &string.Length, sizeof string.Length))
        return false;
    if (string.Length < ResStringMinLength || string.Length > ResStringMaxLength) {
        return fail(index, lengthOffset,
                tr("%1 length %2 is outside %3 to %4.")
                        .arg(QLatin1String(name))
                        .arg(string.Length)
                        .arg(ResStringMinLength)
                        .arg(ResStringMaxLength));
    }
    if (!readRaw(index, name, string.Text, string.Length))
        return false;
    if (!std::memchr(string.Text, 0, string.Length)) {
        return fail(index, lengthOffset,
                tr("%1 has no zero byte within its %2 bytes.")
                        .arg(QLatin1String(name))
                        .arg(string.Length));
    }
    return true;
}

template<typename Entry>
bool ResReader::readTable(int index, const char *countName, qint32 &count, QVector<Entry> &table)
{
    const qint64 countOffset = offset;
    if (!readRaw(index, countName, &count, sizeof count))
        return false;
    if (count < 0) {
        return fail(index, countOffset,
                tr("%1 %2 is negative.").arg(QLatin1String(countName)).arg(count));
    }
    const qint64 tableSize = qint64(count) * qint64(sizeof(Entry));
    if (tableSize > remaining) {
        return fail(index, countOffset,
                tr("%1 %2 needs %3 bytes, but only %4 remain.")
                        .arg(QLatin1String(countName))
                        .arg(count)
                        .arg(tableSize)
                        .arg(remaining));
    }
    table.resize(count);
    return count == 0 || readRaw(index, countName, table.data(), tableSize);
}

// Hands the many short runs of the records to the device in large blocks: a
// QIODevice::write call costs far more than copying the few bytes of a count or
// a string, and a file of 32767 objects takes about 400000 of them.
class BlockWriter
{
public:
    explicit BlockWriter(QIODevice &device)
        : device(device)
    {
        block.reserve(BlockSize);
    }

    bool put(const void *data, qint64 size)
    {
        if (block.size() + size > BlockSize && !flush())
            return false;
        if (size >= BlockSize)
            return device.write(static_cast<const char *>(data), size) == size;
        block.append(static_cast<const char *>(data), int(size));
        return true;
    }

    bool flush()
    {
        const bool written = block.isEmpty() || device.write(block) == block.size();
        // Keeps the reserved capacity.
        block.resize(0);
        return written;
    }

private:
    static constexpr int BlockSize = 64 * 1024;

    QIODevice &device;
    QByteArray block;
};

} // namespace

ResDocument::ResDocument() = default;

bool ResDocument::setFileName(const QString &path)
{
    if (path.size() >= FileNameCapacity) {
        lastError = tr("The path is %1 characters long; at most %2 fit.")
                            .arg(path.size())
                            .arg(FileNameCapacity - 1);
        return false;
    }
    if (path.contains(QChar(0))) {
        lastError = tr("The path contains a zero character.");
        return false;
    }
    std::memcpy(fileName, path.utf16(), (path.size() + 1) * sizeof(char16_t));
    return true;
}

QString ResDocument::path() const
{
    return QString::fromUtf16(fileName);
}

bool ResDocument::load()
{
    file.setFileName(path());
    if (!file.open(QIODevice::ReadOnly)) {
        lastError = file.errorString();
        return false;
    }
    const bool accepted = read(file);
    file.close();
    return accepted;
}

bool ResDocument::read(QIODevice &device)
{
    const qint64 size =
            device.isSequential() ? device.bytesAvailable() : device.size() - device.pos();
    const QByteArray bytes = device.read(qMax<qint64>(size, 0));
    ResStruct loaded;
    ResReader reader(bytes, size);
    if (!reader.readContents(loaded)) {
        lastError = reader.error;
        return false;
    }
    contents = std::move(loaded);
    lastError.clear();
    return true;
}

bool ResDocument::save()
{
    QSaveFile out(path());
    if (!out.open(QIODevice::WriteOnly)) {
        lastError = out.errorString();
        return false;
    }
    // Qt 5's commit() drops an error from flushing its write buffer (a full disk,
    // a file-size limit) and would put the short file in place of the old one.
    if (!write(out) || !out.flush() || !out.commit()) {
        lastError = out.errorString();
        return false;
    }
    lastError.clear();
    return true;
}

bool ResDocument::write(QIODevice &device)
{
    BlockWriter writer(device);
    auto put = [&writer](const void *data, qint64 size) { return writer.put(data, size); };
    auto putString = [&put](const ResString &string) {
        return put(&string.Length, sizeof string.Length) && put(string.Text, string.Length);
    };

    if (!put(&contents.header, ResHeaderSize))
        return false;
    for (const ResObject &object : contents.objects) {
        const bool written = put(&object.ObjectType, ObjectTypeAndIdSize)
                && putString(object.String1) && putString(object.String2)
                && putString(object.String3) && put(&object.Part1Count, sizeof object.Part1Count)
                && (object.Part1Count == 0
                        || put(object.Part1.constData(),
                                qint64(object.Part1Count) * Part1EntrySize))
                && put(&object.Part2Count, sizeof object.Part2Count)
                && (object.Part2Count == 0
                        || put(object.Part2.constData(),
                                qint64(object.Part2Count) * Part2EntrySize));
        if (!written) {
            lastError = device.errorString();
            return false;
        }
    }
    if (!writer.put(contents.trailing.constData(), contents.trailing.size()) || !writer.flush()) {
        lastError = device.errorString();
        return false;
    }
    return true;
}
