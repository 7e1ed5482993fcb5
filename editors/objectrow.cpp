#include "objectrow.h"

#include "recordtext.h"

int columnOfString(const StringField &field)
{
    if (field.member == &ResObject::String1)
        return DescriptionColumn;
    return field.member == &ResObject::String2 ? ModelNameColumn : -1;
}

QString objectRowText(const ResObject &object, int column, const TextEvidence &evidence)
{
    if (column == IdColumn)
        return QString::number(object.*EntryTypeTypeIDField.member, 10);
    for (const StringField &field : StringFields) {
        if (columnOfString(field) == column)
            return readStoredText(object.*field.member, field.modelName, evidence).text;
    }
    return QString();
}
