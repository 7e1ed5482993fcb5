#pragma once

#include "resrecords.h"

#include <QCoreApplication>
#include <QFile>
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

    ResDocument();

    // Refuses (and keeps the previous name) a path longer than 253 UTF-16 units
    // or one holding a zero character, which would name another file.
    bool setFileName(const QString &path);
    QString path() const;

    // Replaces `contents` with the file's records. A file that breaks the format
    // is refused and leaves `contents` as it was; errorString() says why.
    bool load();
    // Saves through a temporary file that replaces the file only once every byte
    // is written, so a failed save leaves the file on disk as it was. More
    // objects than the header counts are refused, and nothing is written.
    bool save();

    // The same reading and writing on any device, from its current position.
    bool read(QIODevice &device);
    bool write(QIODevice &device);

    // Whether save() would write other bytes than the file held when it was last
    // read or written: an edit typed and then undone changes nothing.
    bool isModified() const;

    QString errorString() const { return lastError; }

    ResStruct contents;

private:
    bool parse(const QByteArray &bytes);
    // Whether the header's 16-bit count can count the objects; else says so.
    bool fitsItsHeader();
    // Hands the bytes of the file, piece by piece, to put.
    void writePieces(const std::function<void(const char *data, int size)> &put) const;
    QByteArray toBytes() const;
    QByteArray digest() const;

    char16_t fileName[FileNameCapacity] = {};
    QFile file;
    QString lastError;
    // The SHA-1 of the bytes last read or written: a copy of them would take as
    // much memory again as the file, and SHA-256 five times as long (40 ms for
    // the largest file). An edit is no attack, so SHA-1's weakness is none here.
    QByteArray savedDigest;
};
