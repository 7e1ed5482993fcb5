#pragma once

#include "resrecords.h"

#include "wholefile.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

class QIODevice;

// One RES file held in memory: the path it came from and its records. Views
// (tree items, editors) point straight into `contents`.
class ResDocument
{
    Q_DECLARE_TR_FUNCTIONS(ResDocument)

public:
    // The path is kept as zero-terminated UTF-16 in a fixed array of this many units.
    static constexpr int FileNameCapacity = 254;

    // Whether the document keeps a hash of the bytes last read or written, to
    // tell unsaved edits and a file changed on disk: the editor does, the tools
    // that only read and write files have no use for it.
    enum class Changes { Tracked, Untracked };

    explicit ResDocument(Changes changes = Changes::Tracked);

    // Refuses (and keeps the previous name) a path longer than 253 UTF-16 units
    // or one holding a zero character, which would name another file.
    bool setFileName(const QString &path);
    QString path() const;

    // Replaces `contents` with the file's records. A file that cannot be read, or
    // breaks the format, is refused and leaves `contents` as it was;
    // errorString() says why.
    bool load(WholeFile::Source source = WholeFile::Source::RegularFile);
    // Saves as WholeFile::write() does: a failed save leaves the file on disk as
    // it was. More objects than the header counts are refused, and nothing is
    // written.
    bool save();

    // The same reading and writing on any device, from its current position.
    bool read(QIODevice &device);
    bool write(QIODevice &device);

    // Whether save() would write other bytes than the file held when it was last
    // read or written: an edit typed and then undone changes nothing.
    bool isModified() const;
    // Whether the file on disk is no longer what was last read or written: its
    // size, modification time or file number differ, and then its bytes. A file
    // deleted since, or that is no regular file now, is not changed: saving
    // writes it again, or says why it cannot.
    bool changedOnDisk() const;

    QString errorString() const { return lastError; }

    ResStruct contents;

private:
    bool parse(const QByteArray &bytes);
    // Whether the header's 16-bit count can count the objects; else says so.
    bool fitsItsHeader();
    // Hands the bytes of the file, piece by piece, to put.
    void writePieces(const std::function<void(const char *data, int size)> &put) const;
    QByteArray toBytes() const;
    // XXH3 of what save() would write: a change detector needs no resistance to
    // attack, and it takes a fraction of a millisecond for the largest file.
    quint64 hash() const;

    char16_t fileName[FileNameCapacity] = {};
    const Changes changes;
    QString lastError;
    // Of the bytes last read or written.
    quint64 savedHash = 0;
    FileStamp savedStamp;
};
