#include "resmerge.h"

#include "resdiff.h"
#include "resmatch.h"

#include <QHash>

#include <cstring>
#include <utility>

namespace {

// A conflict: the field's path within its object (empty for the object as a
// whole) or file, and the three values as they are shown.
struct Conflict
{
    QString path;
    QString base, ours, theirs;
    // Of an object removed on one side and changed on the other.
    int baseIndex = -1;
};

// The files of the three sides: a string is shown as its file shows it.
struct Sides
{
    const ResStruct &base, &ours, &theirs;
};

// The merge of the values of one object or of the file, and the conflicts it met.
class Merger
{
public:
    Merger(MergePreference preference, const Sides &sides)
        : preference(preference)
        , sides(sides)
    {
    }

    // Picks one of the three values by the three-way rule; `same` compares two.
    // The path is spelled out only for a conflict: a table may have a million
    // entries of ten fields.
    template<typename T, typename Path, typename Same, typename Show>
    const T &pick(const T &base, const T &ours, const T &theirs, Path path, Same same, Show show)
    {
        if (same(ours, theirs) || same(base, theirs))
            return ours;
        if (same(base, ours))
            return theirs;
        return conflict(ours, theirs, path(), show(base), show(ours), show(theirs));
    }

    // Keeps OURS's value, or THEIRS's when it is preferred, and says so.
    template<typename T>
    const T &conflict(const T &ours, const T &theirs, const QString &path, const QString &baseShown,
            const QString &oursShown, const QString &theirsShown)
    {
        conflicts.append({ path, baseShown, oursShown, theirsShown });
        return preference == MergePreference::Theirs ? theirs : ours;
    }

    ResObject mergeObject(const ResObject &base, const ResObject &ours, const ResObject &theirs);

    QVector<Conflict> conflicts;

private:
    template<typename Entry, size_t FieldCount>
    QVector<Entry> mergeTable(const QVector<Entry> &base, const QVector<Entry> &ours,
            const QVector<Entry> &theirs, const char *name,
            const IntegerField<Entry> (&fields)[FieldCount]);

    const MergePreference preference;
    const Sides sides;
};

bool sameInteger(qint32 a, qint32 b)
{
    return a == b;
}

QString showInteger(qint32 value)
{
    return QString::number(value);
}

template<typename Entry>
bool onlyAppended(const QVector<Entry> &base, const QVector<Entry> &changed)
{
    return changed.size() > base.size()
            && std::memcmp(changed.constData(), base.constData(), base.size() * sizeof(Entry)) == 0;
}

template<typename Entry, size_t FieldCount>
QVector<Entry> Merger::mergeTable(const QVector<Entry> &base, const QVector<Entry> &ours,
        const QVector<Entry> &theirs, const char *name,
        const IntegerField<Entry> (&fields)[FieldCount])
{
    const auto same = [](const QVector<Entry> &a, const QVector<Entry> &b) {
        return sameTable(a, b);
    };
    if (same(ours, theirs) || same(base, ours) || same(base, theirs)
            || ours.size() != theirs.size()) {
        // One side only appended, the other only changed what was there: both.
        if (onlyAppended(base, ours) && theirs.size() == base.size() && !same(base, theirs))
            return theirs + ours.mid(base.size());
        if (onlyAppended(base, theirs) && ours.size() == base.size() && !same(base, ours))
            return ours + theirs.mid(base.size());
        return pick(
                base, ours, theirs, [name] { return QLatin1String(name); }, same,
                [](const QVector<Entry> &table) { return entries(table.size()); });
    }
    // Both changed, to as many entries: entry by entry, field by field. An entry
    // that both added has no base, and conflicts wherever the two differ.
    QVector<Entry> merged = ours;
    for (int i = 0; i < merged.size(); ++i) {
        const bool hasBase = i < base.size();
        for (const IntegerField<Entry> &field : fields) {
            const auto path = [&] {
                return QStringLiteral("%1[%2].%3")
                        .arg(QLatin1String(name))
                        .arg(i)
                        .arg(QLatin1String(field.name));
            };
            const qint32 oursValue = ours[i].*field.member, theirsValue = theirs[i].*field.member;
            if (!hasBase) {
                if (oursValue != theirsValue) {
                    merged[i].*field.member =
                            conflict(oursValue, theirsValue, path(), QStringLiteral("(none)"),
                                    showInteger(oursValue), showInteger(theirsValue));
                }
                continue;
            }
            merged[i].*field.member = pick(
                    base[i].*field.member, oursValue, theirsValue, path, sameInteger, showInteger);
        }
    }
    return merged;
}

ResObject Merger::mergeObject(const ResObject &base, const ResObject &ours, const ResObject &theirs)
{
    // Field by field, so that no table is copied before it is merged.
    ResObject merged;
    merged.ObjectType = ours.ObjectType;
    merged.EntryTypeTypeID = ours.EntryTypeTypeID;
    // A string with its file.
    struct Side
    {
        const ResString &string;
        const ResStruct &file;
    };
    for (const StringField &field : StringFields) {
        const auto same = [](const Side &a, const Side &b) {
            return sameString(a.string, b.string);
        };
        const auto show = [&field](const Side &side) {
            return shownString(side.string, field.modelName, textEvidenceOf(side.file));
        };
        merged.*field.member = pick(
                Side { base.*field.member, sides.base }, Side { ours.*field.member, sides.ours },
                Side { theirs.*field.member, sides.theirs },
                [&field] { return QLatin1String(field.name); }, same, show)
                                       .string;
    }
    merged.Part1 = mergeTable(base.Part1, ours.Part1, theirs.Part1, Part1Name, Part1Fields);
    merged.Part2 = mergeTable(base.Part2, ours.Part2, theirs.Part2, Part2Name, Part2Fields);
    merged.Part1Count = merged.Part1.size();
    merged.Part2Count = merged.Part2.size();
    return merged;
}

// Which object of each side is which: for each object of OURS and of THEIRS its
// match in BASE, the other way round, and for an object that THEIRS added, the
// object that OURS added of the same identity.
struct Matches
{
    QVector<int> oursBase, theirsBase, baseOurs, baseTheirs, theirsOurs;
};

QVector<int> inverse(const QVector<int> &matches, int size)
{
    QVector<int> inverse(size, -1);
    for (int i = 0; i < matches.size(); ++i) {
        if (matches[i] >= 0)
            inverse[matches[i]] = i;
    }
    return inverse;
}

Matches matchSides(const ResStruct &base, const ResStruct &ours, const ResStruct &theirs)
{
    Matches matches;
    matches.oursBase = matchObjects(base.objects, ours.objects);
    matches.theirsBase = matchObjects(base.objects, theirs.objects);
    matches.baseOurs = inverse(matches.oursBase, base.objects.size());
    matches.baseTheirs = inverse(matches.theirsBase, base.objects.size());
    // Objects that both sides added match each other.
    QVector<quint64> oursAdded, theirsAdded;
    QVector<int> oursAddedIndex, theirsAddedIndex;
    for (int i = 0; i < ours.objects.size(); ++i) {
        if (matches.oursBase[i] < 0)
            oursAdded.append(identityOf(ours.objects[i])), oursAddedIndex.append(i);
    }
    for (int i = 0; i < theirs.objects.size(); ++i) {
        if (matches.theirsBase[i] < 0)
            theirsAdded.append(identityOf(theirs.objects[i])), theirsAddedIndex.append(i);
    }
    matches.theirsOurs.fill(-1, theirs.objects.size());
    const QVector<int> addedMatches = matchIdentities(oursAdded, theirsAdded);
    for (int i = 0; i < addedMatches.size(); ++i) {
        if (addedMatches[i] >= 0)
            matches.theirsOurs[theirsAddedIndex[i]] = oursAddedIndex[addedMatches[i]];
    }
    return matches;
}

// An object of the result: merged from its three sides, added by both sides,
// or taken as one side holds it.
struct Place
{
    enum Take { Merged, AddedByBoth, Ours, Theirs } take;
    int base, ours, theirs;
};

// Where the objects go: in THEIRS's order, an object that only OURS holds after
// the nearest object before it in OURS that the result keeps. An object removed
// on one side and changed on the other is a conflict of the file.
QVector<Place> placeInOrder(const ResStruct &base, const ResStruct &ours, const ResStruct &theirs,
        const Matches &matches, MergePreference preference, Merger &file)
{
    const auto removedConflict = [&](const ResObject &object, int baseIndex, const char *oursSide,
                                         const char *theirsSide) {
        file.conflicts.append(
                { QStringLiteral("%1 (base objects[%2])").arg(objectName(object)).arg(baseIndex),
                        QStringLiteral("present"), QLatin1String(oursSide),
                        QLatin1String(theirsSide), baseIndex });
    };
    const bool theirsPreferred = preference == MergePreference::Theirs;

    QVector<Place> inTheirsOrder;
    QVector<bool> oursPlaced(ours.objects.size(), false);
    for (int t = 0; t < theirs.objects.size(); ++t) {
        const int b = matches.theirsBase[t];
        const int o = b >= 0 ? matches.baseOurs[b] : matches.theirsOurs[t];
        if (o >= 0) {
            inTheirsOrder.append({ b >= 0 ? Place::Merged : Place::AddedByBoth, b, o, t });
            oursPlaced[o] = true;
        } else if (b < 0) {
            inTheirsOrder.append({ Place::Theirs, b, o, t });
        } else if (!sameObject(base.objects[b], theirs.objects[t])) {
            removedConflict(theirs.objects[t], b, "removed", "changed");
            if (theirsPreferred)
                inTheirsOrder.append({ Place::Theirs, b, o, t });
        }
    }

    QHash<int, QVector<Place>> afterOurs;
    int anchor = -1;
    for (int o = 0; o < ours.objects.size(); ++o) {
        if (oursPlaced[o]) {
            anchor = o;
            continue;
        }
        const int b = matches.oursBase[o];
        if (b >= 0 && matches.baseTheirs[b] >= 0)
            continue;
        if (b >= 0) {
            if (sameObject(base.objects[b], ours.objects[o]))
                continue;
            removedConflict(ours.objects[o], b, "changed", "removed");
            if (theirsPreferred)
                continue;
        }
        afterOurs[anchor].append({ Place::Ours, b, o, -1 });
    }

    QVector<Place> places = afterOurs.value(-1);
    places.reserve(ours.objects.size() + theirs.objects.size());
    for (const Place &place : qAsConst(inTheirsOrder)) {
        places.append(place);
        if (place.ours >= 0)
            places += afterOurs.value(place.ours);
    }
    return places;
}

// The object that goes to a place, with the conflicts met in it.
ResObject mergeAt(const Place &place, const ResStruct &base, const ResStruct &ours,
        const ResStruct &theirs, Merger &merger)
{
    const ResObject *oursObject = place.ours >= 0 ? &ours.objects[place.ours] : nullptr;
    const ResObject *theirsObject = place.theirs >= 0 ? &theirs.objects[place.theirs] : nullptr;
    switch (place.take) {
    case Place::Merged:
        return merger.mergeObject(base.objects[place.base], *oursObject, *theirsObject);
    case Place::AddedByBoth:
        // Both added an object of this identity, each its own.
        if (sameObject(*oursObject, *theirsObject))
            return *oursObject;
        return merger.conflict(*oursObject, *theirsObject, QString(), QStringLiteral("(none)"),
                QStringLiteral("added"), QStringLiteral("added with other contents"));
    case Place::Ours:
        return *oursObject;
    case Place::Theirs:
        break;
    }
    return *theirsObject;
}

// The header bytes (less ObjectCount) and the bytes after the last object merge
// as a whole each.
void mergeFileBytes(const ResStruct &base, const ResStruct &ours, const ResStruct &theirs,
        ResStruct &merged, Merger &file)
{
    const auto sameBytes = [](const QByteArray &a, const QByteArray &b) { return a == b; };
    const QByteArray headerBytes = file.pick(
            headerLessCount(base.header), headerLessCount(ours.header),
            headerLessCount(theirs.header), [] { return QStringLiteral("header"); }, sameBytes,
            [](const QByteArray &bytes) { return QString::fromLatin1(bytes.toHex()); });
    std::memcpy(&merged.header, headerBytes.constData(), ResHeaderSize);
    merged.trailing = file.pick(
            base.trailing, ours.trailing, theirs.trailing,
            [] { return QStringLiteral("trailing"); }, sameBytes, bytesShown);
}

QString reported(const QString &path, const Conflict &conflict)
{
    return QStringLiteral("%1: base %2, ours %3, theirs %4")
            .arg(path, conflict.base, conflict.ours, conflict.theirs);
}

} // namespace

MergeResult mergeContents(const ResStruct &base, const ResStruct &ours, const ResStruct &theirs,
        MergePreference preference)
{
    const Sides sides { base, ours, theirs };
    Merger file(preference, sides);
    const Matches matches = matchSides(base, ours, theirs);
    const QVector<Place> places = placeInOrder(base, ours, theirs, matches, preference, file);
    // Removed on one side and changed on the other, told last.
    const QVector<Conflict> removed = std::exchange(file.conflicts, {});

    MergeResult result;
    mergeFileBytes(base, ours, theirs, result.contents, file);
    for (const Conflict &conflict : qAsConst(file.conflicts)) {
        result.conflicts << reported(conflict.path, conflict);
        result.found.append({ conflict.path == QLatin1String("header") ? MergeConflict::Header
                                                                       : MergeConflict::Trailing,
                -1, QString() });
    }

    reserveObjects(result.contents.objects, places.size());
    for (const Place &place : places) {
        Merger merger(preference, sides);
        result.contents.objects.append(mergeAt(place, base, ours, theirs, merger));
        const QString where = QStringLiteral("%1 objects[%2]")
                                      .arg(objectName(result.contents.objects.last()))
                                      .arg(result.contents.objects.size() - 1);
        for (const Conflict &conflict : qAsConst(merger.conflicts)) {
            result.conflicts << reported(
                    conflict.path.isEmpty() ? where : where + QLatin1Char('.') + conflict.path,
                    conflict);
            result.found.append({ MergeConflict::Field, int(result.contents.objects.size()) - 1,
                    conflict.path });
        }
    }
    for (const Conflict &conflict : removed) {
        result.conflicts << reported(conflict.path, conflict);
        result.found.append({ MergeConflict::Removed, conflict.baseIndex, QString() });
    }
    result.contents.header.ObjectCount = qint16(result.contents.objects.size());
    return result;
}
