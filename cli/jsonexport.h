#pragma once

#include "resrecords.h"

#include <QByteArray>

// The JSON form of a RES file, made for diffs and for editing as text: one
// object with "header" (the 60 header bytes in hex), "objects" in file order
// and, when the file holds bytes after its last object, "trailing" in hex. A
// string is {"text": ..., "encoding": ...} when its bytes are text in the
// encoding the editor shows it with, else {"hex": ...} with all its stored
// bytes. Indented, one field per line, keys in file order; importJson() builds
// the same contents from it.
QByteArray exportJson(const ResStruct &contents);

// The most bytes that exportJson() can write for the contents. A file whose
// JSON could pass JsonExportLimit, the most that one text holds, is refused:
// one object of eight million Part2 entries fits in a RES file.
qint64 jsonSizeBound(const ResStruct &contents);
constexpr qint64 JsonExportLimit = 2000000000;
