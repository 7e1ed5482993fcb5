#pragma once

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

// Writes JSON laid out as jq prints it (two spaces a level, one member per
// line, keys in the order written), so that a bulk edit with jq changes only the
// lines it edits. QJsonDocument would sort the keys by name.
class JsonWriter
{
public:
    JsonWriter() = default;
    // Goes on inside depth open objects and arrays, the innermost of which
    // already holds members or not.
    JsonWriter(int depth, bool membersBefore);

    void open(char bracket);
    void close(char bracket);
    // Records that members were written into the innermost open level elsewhere.
    void openedMembers(bool written) { empty.last() = empty.last() && !written; }
    // Starts the next member of the open object (with its key) or array.
    void next(const char *key = nullptr);
    void number(qint32 value);
    // Escapes as jq does: the short forms where JSON has them, else \u00XX.
    void string(const QByteArray &utf8);

    QByteArray text;

private:
    // Deeper than a RES file's JSON goes, and longer than any of its keys.
    static constexpr int MostIndent = 20;
    static constexpr size_t KeyRoom = 32;

    void newLine();

    // Per open object or array: whether no member has been written yet.
    QVector<bool> empty;
};
