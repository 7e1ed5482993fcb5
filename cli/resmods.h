#pragma once

#include "resmerge.h"

// A merge of several mods of BASE in their load order: the changes of each,
// applied in turn to what the mods before it made, by the rules of the
// three-way merge (what the earlier mods made as OURS, the next mod as THEIRS).
// A conflict is two mods that change a field, or add an object, differently:
// the result keeps the first mod's value (MergePreference::Ours), or the last
// one's (MergePreference::Theirs). With two mods it is mergeContents(); with
// more, each conflict is listed once, with the base value and the value of
// each mod that changed it, named by names.
MergeResult mergeMods(const ResStruct &base, const QVector<const ResStruct *> &mods,
        const QStringList &names, MergePreference preference);
