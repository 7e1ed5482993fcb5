#pragma once

#include "resrecords.h"

#include <QByteArray>
#include <QString>

// Builds the contents of a RES file from its JSON form (see exportJson());
// ObjectCount is set from the number of objects. Refuses anything that does not
// fit the file (and leaves `contents` as it was), with a reason that starts with
// the JSON path of the fault, such as "objects[3].Part1[0].Value2: ...", or
// with the line and column of malformed JSON.
bool importJson(const QByteArray &json, ResStruct *contents, QString *error);
