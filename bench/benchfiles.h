#pragma once

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

// The benchmark's own RES writer: files are built from the byte layout here, not
// by the program's saver, so that a slow or wrong saver cannot shape what the
// loader is timed on.
namespace benchfiles {

// The table sizes of one object.
struct EntryCounts
{
    int part1 = 0;
    int part2 = 0;

    bool operator==(const EntryCounts &other) const
    {
        return part1 == other.part1 && part2 == other.part2;
    }
};

// A file of objectCount objects drawn from seed, as modders' files look: every
// object type in turn, a description and a longer text in GB18030 or Big5, an
// ASCII model name, and a few entries in each table. The objects given in heavy
// come first, all weapons, with exactly the table sizes asked for.
QByteArray generate(quint32 seed, int objectCount, const QVector<EntryCounts> &heavy = {});

} // namespace benchfiles
