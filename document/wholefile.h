#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <optional>

// What tells one state of a file on disk from another without reading it: its
// size, modification time and, where the system has one, its file number, which
// a file saved through a temporary file gets anew.
struct FileStamp
{
    qint64 size = 0;
    qint64 modifiedNanoseconds = 0;
    quint64 fileNumber = 0;

    bool operator==(const FileStamp &other) const
    {
        return size == other.size && modifiedNanoseconds == other.modifiedNanoseconds
                && fileNumber == other.fileNumber;
    }
    bool operator!=(const FileStamp &other) const { return !(*this == other); }
};

// Reading and writing a file whole, as the editor and drovanel-res do with every
// file they open or write. A failure leaves the file on disk as it was and says
// what the system said, such as "No space left on device".
class WholeFile
{
    Q_DECLARE_TR_FUNCTIONS(WholeFile)

public:
    // The largest file read: more than a QByteArray holds on every platform.
    static constexpr qint64 MaxBytes = 2000000000;

    enum class Source {
        // A regular file only: opening a pipe or a device would wait for a writer
        // that may never come, or read without end.
        RegularFile,
        // A regular file or a pipe, such as bash's <(zcat item.res.gz).
        FileOrPipe,
    };

    // Reads all of the file at path into bytes, and the stamp of what it read;
    // false with the reason in error for a file that cannot be read, is of
    // another kind than source allows, or holds more than MaxBytes.
    static bool read(const QString &path, Source source, QByteArray *bytes, QString *error,
            FileStamp *stamp = nullptr);

    // Writes bytes as the whole of the file at path. A regular file, or a new
    // one, is replaced by a temporary file beside it only once every byte is
    // written and on the disk, with the old file's mode, and its owner and group
    // where the process may keep them. A device, pipe or socket is written into,
    // never replaced. A symbolic link is followed to the file it names; a loop of
    // links is refused.
    // The stamp of what was written, for a regular file.
    static bool write(const QString &path, const QByteArray &bytes, QString *error,
            FileStamp *stamp = nullptr);

    // The stamp of the regular file at path as it is now; none when there is none.
    static std::optional<FileStamp> stampOf(const QString &path);
};
