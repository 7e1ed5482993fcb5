#pragma once

#include <QString>

// The keys of the JSON form of a RES file besides the names of the fields:
// {"header": hex, "objects": [...], "trailing": hex} for the file, and for a
// string {"text": ..., "encoding": ...} or {"hex": ...}.
inline constexpr char HeaderKey[] = "header";
inline constexpr char ObjectsKey[] = "objects";
inline constexpr char TrailingKey[] = "trailing";
inline constexpr char TextKey[] = "text";
inline constexpr char EncodingKey[] = "encoding";
inline constexpr char HexKey[] = "hex";

// A key or name from the JSON as a message quotes it: a long one cut short.
inline QString quotedName(const QString &name)
{
    constexpr int Longest = 40;
    return name.size() <= Longest ? name : name.left(Longest) + QChar(0x2026);
}
