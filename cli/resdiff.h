#pragma once

#include "resrecords.h"

#include <QStringList>

// The changes from one RES file's contents to another's, one line per change in
// the order of the new file: header bytes, then each object as a modder names
// it ("Weapon 1001 (objects[12] → [13]): Part1[3].Value2 10 → 20", "+ Item
// 5005 (objects[300])", "- Pose 77 (objects[7])"), then the bytes after the
// last object. Objects are matched by identity (see matchObjects), so an object
// inserted or removed changes no other object's lines. Empty when the two hold
// the same records.
QStringList diffContents(const ResStruct &from, const ResStruct &to);

// A string of a file with that evidence as the editor shows it, quoted, or its
// stored bytes in hex.
QString shownString(const ResString &string, bool modelName, const TextEvidence &evidence);
