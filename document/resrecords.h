#pragma once

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

#include <cstddef>
#include <optional>

// The records below are moved to and from a RES file as raw byte runs, so their
// in-memory layout is the file layout: little-endian, no gaps.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "RES records are stored in host byte order");

constexpr int ResHeaderSize = 60;
constexpr int OpaqueHeadSize = 52;
constexpr int OpaqueTailSize = 6;

// A string slot holds at most 253 bytes of text and its terminating zero byte;
// the length field of a stored string counts that zero byte.
constexpr int ResStringSlotSize = 254;
constexpr int ResStringMinLength = 1;
constexpr int ResStringMaxLength = ResStringSlotSize;
constexpr int ResStringMaxTextBytes = ResStringSlotSize - 1;

constexpr int Part1EntrySize = 12;
constexpr int Part2EntrySize = 40;

// ObjectType and EntryTypeTypeID are transferred together as one unit.
constexpr int ObjectTypeAndIdSize = 8;

// The smallest object block: type, identifier, three one-byte strings with their
// lengths, and the two table counts.
constexpr int MinObjectBlockSize = ObjectTypeAndIdSize + 3 * (4 + ResStringMinLength) + 4 + 4;

// ObjectCount is a signed 16-bit field.
constexpr int MaxObjectCount = 32767;

// Loading reserves room for this many objects beyond those of the file (up to
// the most a file can count), so that the first objects added never move a
// record: in a file of 32766 objects, moving them all took most of the time of
// adding one. Part1 tables get no reserved room: the forms show their entries
// anew after every append, so an append that moves a table leaves no form
// pointing into the old one, and room for 2048 entries in every object took
// most of the memory and the time of opening a large file.
constexpr int ObjectReservation = 4096;

struct ResHeader
{
    char OpaqueHead[OpaqueHeadSize];
    qint16 ObjectCount;
    char OpaqueTail[OpaqueTailSize];
};

struct ResString
{
    qint32 Length;
    char Text[ResStringSlotSize];
};

struct Part1SubObject
{
    qint32 Type;
    qint32 Value1;
    qint32 Value2;
};

struct Part2SubObject
{
    qint32 unknown2;
    qint32 unknown3;
    qint32 effectType;
    qint32 cycle;
    qint32 actionType;
    qint32 unknonw6;
    qint32 typeValue;
    qint32 unknown8;
    qint32 unknown9;
    qint32 unknown10;
};

struct ResObject
{
    qint32 ObjectType = 0;
    qint32 EntryTypeTypeID = 0;
    ResString String1 = {};
    ResString String2 = {};
    ResString String3 = {};
    qint32 Part1Count = 0;
    QVector<Part1SubObject> Part1;
    qint32 Part2Count = 0;
    QVector<Part2SubObject> Part2;
};

// What a file's texts say of its encoding: how many of them read clearly as
// GB18030 and as Big5, their other reading being invalid or far less likely.
// A text that reads about as well either way leans toward the file's majority.
struct TextEvidence
{
    int gb18030 = 0;
    int big5 = 0;
};

struct ResStruct
{
    ResHeader header = {};
    QVector<ResObject> objects;
    // Whatever the file holds after its last object block, written back after
    // the last object, so that objects added later go before it.
    QByteArray trailing;
    // How the file's texts are encoded, weighed by textEvidenceOf() when first
    // asked for: checking a file has no use for it. Texts edited or added later
    // change nothing of it.
    mutable std::optional<TextEvidence> textEvidence;
};

// Reserves room for count objects. The objects of the largest file take 26 MB:
// where the system offers it, they are backed by huge pages, which the kernel
// faults in by the 2 MB instead of by the 4 KB. Page faults had been half of
// checking a file.
void reserveObjects(QVector<ResObject> &objects, int count);

// ObjectType codes.
enum ObjectTypeCode {
    WeaponType = 1,
    ItemType = 2,
    PoseType = 3,
    VipItemType = 4,
    MapType = 5,
};

// QVector relocates movable types with memmove instead of copying every record.
Q_DECLARE_TYPEINFO(Part1SubObject, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(Part2SubObject, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(ResObject, Q_MOVABLE_TYPE);

static_assert(sizeof(ResHeader) == ResHeaderSize, "the header is 60 bytes");
static_assert(offsetof(ResHeader, OpaqueHead) == 0, "");
static_assert(offsetof(ResHeader, ObjectCount) == OpaqueHeadSize, "ObjectCount lies at offset 52");
static_assert(offsetof(ResHeader, OpaqueTail) == 54, "");
static_assert(sizeof(ResHeader::ObjectCount) == 2, "ObjectCount is 16 bits wide");

static_assert(offsetof(ResString, Length) == 0, "");
static_assert(offsetof(ResString, Text) == 4, "");
static_assert(sizeof(ResString::Text) == ResStringSlotSize, "");

static_assert(sizeof(Part1SubObject) == Part1EntrySize, "a Part1 entry is 12 bytes");
static_assert(offsetof(Part1SubObject, Type) == 0, "");
static_assert(offsetof(Part1SubObject, Value1) == 4, "");
static_assert(offsetof(Part1SubObject, Value2) == 8, "");

static_assert(sizeof(Part2SubObject) == Part2EntrySize, "a Part2 entry is 40 bytes");
static_assert(offsetof(Part2SubObject, unknown2) == 0, "");
static_assert(offsetof(Part2SubObject, unknown3) == 4, "");
static_assert(offsetof(Part2SubObject, effectType) == 8, "");
static_assert(offsetof(Part2SubObject, cycle) == 12, "");
static_assert(offsetof(Part2SubObject, actionType) == 16, "");
static_assert(offsetof(Part2SubObject, unknonw6) == 20, "");
static_assert(offsetof(Part2SubObject, typeValue) == 24, "");
static_assert(offsetof(Part2SubObject, unknown8) == 28, "");
static_assert(offsetof(Part2SubObject, unknown9) == 32, "");
static_assert(offsetof(Part2SubObject, unknown10) == 36, "");

static_assert(offsetof(ResObject, ObjectType) == 0, "");
static_assert(offsetof(ResObject, EntryTypeTypeID) == 4,
        "ObjectType and EntryTypeTypeID form one 8-byte unit");
