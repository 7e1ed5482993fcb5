#include "resdocument.h"

#include "recordtext.h"
#include "resstring.h"

#include <QIODevice>

#include <xxhash.h>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <cstring>
#include <memory>
#include <limits>
#include <utility>

namespace {

// Reads the records of a RES file from its bytes in memory, and checks every
// length and count against the bytes that remain before it allocates or copies
// anything. A read call per field cost far more than the copy of its few bytes.
class ResReader
{
    Q_DECLARE_TR_FUNCTIONS(ResDocument)

public:
    explicit ResReader(const QByteArray &bytes)
        : bytes(bytes)
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

    qint64 remaining() const { return bytes.size() - offset; }

    const QByteArray &bytes;
    qint64 offset = 0;
};

bool ResReader::take(void *data, qint64 size)
{
    if (size > remaining())
        return false;
    std::memcpy(data, bytes.constData() + offset, size_t(size));
    offset += size;
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
    if (!take(&contents.header, ResHeaderSize)) {
        error = tr("the file holds %1, fewer than the %2 of the header.")
                        .arg(byteCount(bytes.size()), byteCount(ResHeaderSize));
        return false;
    }

    const int objectCount = contents.header.ObjectCount;
    if (objectCount < 0) {
        error = tr("offset %1: ObjectCount %2 is negative.").arg(OpaqueHeadSize).arg(objectCount);
        return false;
    }
    if (qint64(objectCount) * MinObjectBlockSize > remaining()) {
        error = tr("offset %1: ObjectCount %2 needs at least %3 of objects, but the file "
                   "holds only %4 after the header.")
                        .arg(OpaqueHeadSize)
                        .arg(objectCount)
                        .arg(byteCount(qint64(objectCount) * MinObjectBlockSize),
                                byteCount(remaining()));
        return false;
    }

    reserveObjects(contents.objects, qMin(objectCount + ObjectReservation, MaxObjectCount));
    contents.objects.resize(objectCount);
    for (int i = 0; i < objectCount; ++i) {
        if (!readObject(i, contents.objects[i]))
            return false;
    }
    contents.trailing = bytes.mid(int(offset));
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
    qint32 length;
    if (!readRaw(index, name, &length, sizeof length))
        return false;
    const QString lengthFault = stringLengthFault(name, length);
    if (!lengthFault.isEmpty())
        return fail(index, lengthOffset, lengthFault);
    if (length > remaining())
        return fail(index, offset, tr("the file ends inside %1.").arg(QLatin1String(name)));
    const char *const stored = bytes.constData() + offset;
    const QString fault = storedStringFault(name, stored, length);
    if (!fault.isEmpty())
        return fail(index, lengthOffset, fault);
    setStoredBytes(string, stored, length);
    offset += length;
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
    if (tableSize > remaining()) {
        return fail(index, countOffset,
                tr("%1 %2 needs %3, but the file holds only %4 after it.")
                        .arg(QLatin1String(countName))
                        .arg(count)
                        .arg(byteCount(tableSize), byteCount(remaining())));
    }
    // Exactly: resizing an empty vector rounds its block up to a power of two,
    // which for the short tables of 32767 objects came to megabytes.
    if (count == 0)
        return true;
    table.reserve(count);
    table.resize(count);
    return readRaw(index, countName, table.data(), tableSize);
}

} // namespace

void reserveObjects(QVector<ResObject> &objects, int count)
{
    objects.reserve(count);
#ifdef Q_OS_LINUX
    // Only whole huge pages within the objects' block.
    constexpr quintptr HugePage = 2 << 20;
    const quintptr begin = (quintptr(objects.constData()) + HugePage - 1) & ~(HugePage - 1);
    const quintptr end = quintptr(objects.constData() + objects.capacity()) & ~(HugePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

ResDocument::ResDocument(Changes changes)
    : changes(changes)
{
}

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

bool ResDocument::load(WholeFile::Source source)
{
    QByteArray bytes;
    FileStamp stamp;
    if (!WholeFile::read(path(), source, &bytes, &lastError, &stamp) || !parse(bytes))
        return false;
    savedStamp = stamp;
    return true;
}

bool ResDocument::read(QIODevice &device)
{
    return parse(device.readAll());
}

bool ResDocument::parse(const QByteArray &bytes)
{
    ResStruct loaded;
    ResReader reader(bytes);
    if (!reader.readContents(loaded)) {
        lastError = reader.error;
        return false;
    }
    contents = std::move(loaded);
    if (changes == Changes::Tracked)
        savedHash = XXH3_64bits(bytes.constData(), size_t(bytes.size()));
    lastError.clear();
    return true;
}

bool ResDocument::fitsItsHeader()
{
    if (contents.objects.size() <= MaxObjectCount)
        return true;
    lastError = tr("%1 objects; the header of a RES file counts at most %2.")
                        .arg(contents.objects.size())
                        .arg(MaxObjectCount);
    return false;
}

bool ResDocument::save()
{
    if (!fitsItsHeader())
        return false;
    const QByteArray bytes = toBytes();
    FileStamp stamp;
    if (!WholeFile::write(path(), bytes, &lastError, &stamp))
        return false;
    savedStamp = stamp;
    if (changes == Changes::Tracked)
        savedHash = XXH3_64bits(bytes.constData(), size_t(bytes.size()));
    lastError.clear();
    return true;
}

bool ResDocument::write(QIODevice &device)
{
    if (!fitsItsHeader())
        return false;
    const QByteArray bytes = toBytes();
    if (device.write(bytes) != bytes.size()) {
        lastError = device.errorString();
        return false;
    }
    return true;
}

bool ResDocument::isModified() const
{
    return hash() != savedHash;
}

bool ResDocument::changedOnDisk() const
{
    const std::optional<FileStamp> now = WholeFile::stampOf(path());
    if (!now || *now == savedStamp)
        return false;
    QByteArray bytes;
    QString error;
    // A file that cannot be read is no longer what was read or written.
    return !WholeFile::read(path(), WholeFile::Source::FileOrPipe, &bytes, &error)
            || XXH3_64bits(bytes.constData(), size_t(bytes.size())) != savedHash;
}

quint64 ResDocument::hash() const
{
    // One state for the whole file, fed each piece as it is: hashing a copy of
    // the file took as long again, and wrapping each piece in an array longer.
    const std::unique_ptr<XXH3_state_t, XXH_errorcode (*)(XXH3_state_t *)> state(
            XXH3_createState(), XXH3_freeState);
    XXH3_64bits_reset(state.get());
    writePieces([&state](const char *data, int size) {
        XXH3_64bits_update(state.get(), data, size_t(size));
    });
    return XXH3_64bits_digest(state.get());
}

QByteArray ResDocument::toBytes() const
{
    qint64 size = 0;
    writePieces([&size](const char *, int pieceSize) { size += pieceSize; });
    QByteArray bytes;
    bytes.reserve(int(qMin(size, qint64(std::numeric_limits<int>::max()))));
    writePieces([&bytes](const char *data, int pieceSize) { bytes.append(data, pieceSize); });
    return bytes;
}

void ResDocument::writePieces(const std::function<void(const char *data, int size)> &write) const
{
    const auto put = [&write](const void *data, qint64 size) {
        write(static_cast<const char *>(data), int(size));
    };
    const auto putString = [&put](const ResString &string) {
        put(&string.Length, sizeof string.Length);
        put(string.Text, string.Length);
    };
    put(&contents.header, ResHeaderSize);
    for (const ResObject &object : contents.objects) {
        put(&object.ObjectType, ObjectTypeAndIdSize);
        putString(object.String1);
        putString(object.String2);
        putString(object.String3);
        put(&object.Part1Count, sizeof object.Part1Count);
        put(object.Part1.constData(), qint64(object.Part1Count) * Part1EntrySize);
        put(&object.Part2Count, sizeof object.Part2Count);
        put(object.Part2.constData(), qint64(object.Part2Count) * Part2EntrySize);
    }
    put(contents.trailing.constData(), contents.trailing.size());
}
