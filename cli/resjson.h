#pragma once

#include "resrecords.h"

#include <QByteArray>
#include <QString>

// The JSON form of a RES file, made for diffs and for editing as text: one
// object with "header" (the 60 header bytes in hex), "objects" in file order
// and, when the file holds bytes after its last object, "trailing" in hex. A
// string is {"text": ..., "encoding": ...} when its bytes are text in the
// encoding the editor shows it with, else {"hex": ...} with all its stored bytes.

// Indented, one field per line, keys in file order; importJson() builds the
// same contents from it.
QByteArray exportJson(const ResStruct &contents);

// Builds the contents of a RES file from JSON; ObjectCount is set from the
// number of objects. Refuses anything that does not fit the file (and leaves
// `contents` as it was), with a reason that starts with the JSON path of the
// fault, such as "objects[3].Part1[0].Value2: ...", or with the line and column
// of malformed JSON.
bool importJson(const QByteArray &json, ResStruct *contents, QString *error);
