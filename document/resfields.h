#pragma once

#include "resrecords.h"

#include <QtGlobal>

#include <iterator>

// The fields of the records as modders name them: the forms label them so, and
// the JSON, diff and merge of drovanel-res name them so. A name is translated in
// the context "ResFields" where a form labels its field with it; the JSON keys
// and the diff stay in English.

// An int32 field of a record; namedValues when a form lists the names of its
// values for a choice.
template<typename Record>
struct IntegerField
{
    const char *name;
    qint32 Record::*member;
    bool namedValues;
};

// A string of an object; String2 holds a model name, which is read as UTF-8
// where it plainly is.
struct StringField
{
    const char *name;
    ResString ResObject::*member;
    bool modelName;
};

// In file order, as the form of an object shows them.
inline constexpr IntegerField<ResObject> ObjectTypeField = {
    QT_TRANSLATE_NOOP("ResFields", "ObjectType"), &ResObject::ObjectType, true
};
inline constexpr IntegerField<ResObject> EntryTypeTypeIDField = {
    QT_TRANSLATE_NOOP("ResFields", "EntryTypeTypeID"), &ResObject::EntryTypeTypeID, false
};
inline constexpr StringField StringFields[] = {
    { QT_TRANSLATE_NOOP("ResFields", "String1"), &ResObject::String1, false },
    { QT_TRANSLATE_NOOP("ResFields", "String2"), &ResObject::String2, true },
    { QT_TRANSLATE_NOOP("ResFields", "String3"), &ResObject::String3, false },
};

// The two tables of an object, each with its count.
inline constexpr char Part1Name[] = "Part1";
inline constexpr char Part2Name[] = "Part2";

inline constexpr IntegerField<Part1SubObject> Part1Fields[] = {
    { QT_TRANSLATE_NOOP("ResFields", "Type"), &Part1SubObject::Type, true },
    { QT_TRANSLATE_NOOP("ResFields", "Value1"), &Part1SubObject::Value1, false },
    { QT_TRANSLATE_NOOP("ResFields", "Value2"), &Part1SubObject::Value2, false },
};

inline constexpr IntegerField<Part2SubObject> Part2Fields[] = {
    { QT_TRANSLATE_NOOP("ResFields", "unknown2"), &Part2SubObject::unknown2, false },
    { QT_TRANSLATE_NOOP("ResFields", "unknown3"), &Part2SubObject::unknown3, false },
    { QT_TRANSLATE_NOOP("ResFields", "effectType"), &Part2SubObject::effectType, true },
    { QT_TRANSLATE_NOOP("ResFields", "cycle"), &Part2SubObject::cycle, false },
    { QT_TRANSLATE_NOOP("ResFields", "actionType"), &Part2SubObject::actionType, false },
    { QT_TRANSLATE_NOOP("ResFields", "unknonw6"), &Part2SubObject::unknonw6, false },
    { QT_TRANSLATE_NOOP("ResFields", "typeValue"), &Part2SubObject::typeValue, false },
    { QT_TRANSLATE_NOOP("ResFields", "unknown8"), &Part2SubObject::unknown8, false },
    { QT_TRANSLATE_NOOP("ResFields", "unknown9"), &Part2SubObject::unknown9, false },
    { QT_TRANSLATE_NOOP("ResFields", "unknown10"), &Part2SubObject::unknown10, false },
};

static_assert(std::size(Part1Fields) * sizeof(qint32) == sizeof(Part1SubObject),
        "every field of a Part1 entry is listed");
static_assert(std::size(Part2Fields) * sizeof(qint32) == sizeof(Part2SubObject),
        "every field of a Part2 entry is listed");

// The object types with a name: the folder of the tree that lists them, and
// their name in the form of an object, which spells VipItem otherwise.
struct ObjectTypeName
{
    ObjectTypeCode code;
    const char *folder;
    const char *form;
};

inline constexpr ObjectTypeName ObjectTypeNames[] = {
    { WeaponType, QT_TRANSLATE_NOOP("ResFields", "Weapon"),
            QT_TRANSLATE_NOOP("ResFields", "Weapon") },
    { ItemType, QT_TRANSLATE_NOOP("ResFields", "Item"), QT_TRANSLATE_NOOP("ResFields", "Item") },
    { PoseType, QT_TRANSLATE_NOOP("ResFields", "Pose"), QT_TRANSLATE_NOOP("ResFields", "Pose") },
    { VipItemType, QT_TRANSLATE_NOOP("ResFields", "Vipitem"),
            QT_TRANSLATE_NOOP("ResFields", "VipItem") },
    { MapType, QT_TRANSLATE_NOOP("ResFields", "Map"), QT_TRANSLATE_NOOP("ResFields", "Map") },
};

// The name of a type's folder, or null for a code without one.
inline const char *objectTypeFolder(qint32 code)
{
    for (const ObjectTypeName &type : ObjectTypeNames) {
        if (type.code == code)
            return type.folder;
    }
    return nullptr;
}
