#pragma once

#include "resrecords.h"

#include <QStringList>

// A three-way merge of RES contents, by object identity (see matchObjects) and
// field by field: a field changed on one side takes that side's value, changed
// alike on both the common value, and changed differently on both is a
// conflict, where the result holds OURS's value (or that of the side preferred).
// The header bytes (less ObjectCount) and the bytes after the last object merge
// as a whole each. An object added on one side is added, one removed on one side
// and left alone on the other is removed, and one removed on one side and
// changed on the other is a conflict. An entry table changed on both sides
// merges entry by entry when both hold as many entries; otherwise it is one
// conflict, unless one side only appended entries and the other only changed
// existing ones. The result keeps THEIRS's order; an object that only OURS holds
// goes after the nearest object before it in OURS that the result keeps.
enum class MergePreference { None, Ours, Theirs };

// Where a conflict is: a field of an object of the result, the header or the
// trailing bytes, or an object removed on one side and changed on the other.
struct MergeConflict
{
    enum Kind { Field, Header, Trailing, Removed } kind;
    // The object's index in the result (Field), or in BASE (Removed).
    int object;
    // The field's path within the object, empty for the object as a whole.
    QString path;
};

struct MergeResult
{
    ResStruct contents;
    // One line per conflict: the object, the JSON path in the result and the
    // three values, such as `Weapon 1001 objects[3].String1: base "a", ours "b",
    // theirs "c"`.
    QStringList conflicts;
    // Where each of them is, in the same order.
    QVector<MergeConflict> found;
};

MergeResult mergeContents(const ResStruct &base, const ResStruct &ours, const ResStruct &theirs,
        MergePreference preference);
