#pragma once

#include "resfields.h"

#include <QString>

// The columns of an object's row in the tree: its identifier, its description
// (String1) and its model name (String2), as its form shows them.
enum ObjectRowColumn { IdColumn, DescriptionColumn, ModelNameColumn, ObjectRowColumns };

// The column that shows a string of the object, or -1 for none.
int columnOfString(const StringField &field);

// What a column of the object's row shows, of a file with that evidence.
QString objectRowText(const ResObject &object, int column, const TextEvidence &evidence);
