#include "resmerge.h"

#include "resdiff.h"
#include "resmatch.h"

#include <QHash>

#include <cstring>

namespace {

// The merge of one kind of value, and the conflicts it met: each as the field's
// path within its object (or file) and the three values.
class Merger
{
public:
    // The evidence of each side's file: a string is shown as its file shows it.
    struct Evidence
    {
        const TextEvidence &base, &ours, &theirs;
    };

    Merger(MergePreference preference, const Evidence &evidence)
        : preference(preference)
        , evidence(evidence)
    {
    }

    struct Conflict
    {
        QString path;
        QString base, ours, theirs;
    };

    // Picks one of the three values by the three-way rule; `same` compares two.
    template<typename T, typename Same, typename Show>
    const T &pick(const T &base, const T &ours, const T &theirs, const QString &path, Same same,
            Show show)
    {
        if (same(ours, theirs) || same(base, theirs))
            return ours;
        if (same(base, ours))
            return theirs;
        conflicts.append({ path, show(base), show(ours), show(theirs) });
        return preference == MergePreference::Theirs ? theirs : ours;
    }

    template<typename Entry, size_t FieldCount>
    QVector<Entry> mergeTable(const QVector<Entry> &base, const QVector<Entry> &ours,
            const QVector<Entry> &theirs, const QString &path,
            const Field<Entry> (&fields)[FieldCount]);

    ResObject mergeObject(const ResObject &base, const ResObject &ours, const ResObject &theirs);

    const MergePreference preference;
    const Evidence evidence;
    QVector<Conflict> conflicts;
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
        const QVector<Entry> &theirs, const QString &path, const Field<Entry> (&fields)[FieldCount])
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
        return pick(base, ours, theirs, path, same,
                [](const QVector<Entry> &table) { return entries(table.size()); });
    }
    // Both changed, to as many entries: entry by entry, field by field. An entry
    // that both added has no base, and conflicts wherever the two differ.
    QVector<Entry> merged = ours;
    for (int i = 0; i < merged.size(); ++i) {
        const Entry none = {};
        const Entry &baseEntry = i < base.size() ? base[i] : none;
        for (const Field<Entry> &field : fields) {
            const QString fieldPath =
                    QStringLiteral("%1[%2].%3").arg(path).arg(i).arg(QLatin1String(field.name));
            const bool hasBase = i < base.size();
            const qint32 baseValue = baseEntry.*field.member;
            const qint32 oursValue = ours[i].*field.member, theirsValue = theirs[i].*field.member;
            if (!hasBase && oursValue != theirsValue) {
                conflicts.append({ fieldPath, QStringLiteral("(none)"), showInteger(oursValue),
                        showInteger(theirsValue) });
                merged[i].*field.member =
                        preference == MergePreference::Theirs ? theirsValue : oursValue;
                continue;
            }
            merged[i].*field.member =
                    pick(baseValue, oursValue, theirsValue, fieldPath, sameInteger, showInteger);
        }
    }
    return merged;
}

ResObject Merger::mergeObject(const ResObject &base, const ResObject &ours, const ResObject &theirs)
{
    ResObject merged = ours;
    // A string with the evidence of its file.
    struct Side
    {
        const ResString &string;
        const TextEvidence &evidence;
    };
    for (const StringField &field : StringFields) {
        const auto same = [](const Side &a, const Side &b) {
            return sameString(a.string, b.string);
        };
        const auto show = [&field](const Side &side) {
            return shownString(side.string, field.modelName, side.evidence);
        };
        merged.*field.member = pick(Side { base.*field.member, evidence.base },
                Side { ours.*field.member, evidence.ours },
                Side { theirs.*field.member, evidence.theirs }, QLatin1String(field.name), same,
                show)
                                       .string;
    }
    merged.Part1 =
            mergeTable(base.Part1, ours.Part1, theirs.Part1, QStringLiteral("Part1"), Part1Fields);
    merged.Part2 =
            mergeTable(base.Part2, ours.Part2, theirs.Part2, QStringLiteral("Part2"), Part2Fields);
    merged.Part1Count = merged.Part1.size();
    merged.Part2Count = merged.Part2.size();
    return merged;
}

// An object of the result, with the conflicts met in it.
struct Merged
{
    ResObject object;
    QVector<Merger::Conflict> conflicts;
};

} // namespace

MergeResult mergeContents(const ResStruct &base, const ResStruct &ours, const ResStruct &theirs,
        MergePreference preference)
{
    const QVector<int> oursBase = matchObjects(base.objects, ours.objects);
    const QVector<int> theirsBase = matchObjects(base.objects, theirs.objects);
    QVector<int> baseOurs(base.objects.size(), -1), baseTheirs(base.objects.size(), -1);
    for (int i = 0; i < oursBase.size(); ++i) {
        if (oursBase[i] >= 0)
            baseOurs[oursBase[i]] = i;
    }
    for (int i = 0; i < theirsBase.size(); ++i) {
        if (theirsBase[i] >= 0)
            baseTheirs[theirsBase[i]] = i;
    }
    // Objects that both sides added match each other.
    QVector<ResObject> oursAdded, theirsAdded;
    QVector<int> oursAddedIndex, theirsAddedIndex;
    for (int i = 0; i < ours.objects.size(); ++i) {
        if (oursBase[i] < 0)
            oursAdded.append(ours.objects[i]), oursAddedIndex.append(i);
    }
    for (int i = 0; i < theirs.objects.size(); ++i) {
        if (theirsBase[i] < 0)
            theirsAdded.append(theirs.objects[i]), theirsAddedIndex.append(i);
    }
    QVector<int> theirsOurs(theirs.objects.size(), -1);
    const QVector<int> addedMatches = matchObjects(oursAdded, theirsAdded);
    for (int i = 0; i < addedMatches.size(); ++i) {
        if (addedMatches[i] >= 0)
            theirsOurs[theirsAddedIndex[i]] = oursAddedIndex[addedMatches[i]];
    }

    MergeResult result;
    QVector<Merger::Conflict> fileConflicts;
    const auto removedConflict = [&](const ResObject &object, int baseIndex, const char *removedIn,
                                         const char *changedIn) {
        fileConflicts.append(
                { QStringLiteral("%1 (base objects[%2])").arg(objectName(object)).arg(baseIndex),
                        QStringLiteral("present"), QLatin1String(removedIn),
                        QLatin1String(changedIn) });
    };

    // The result in THEIRS's order, each object with its match in OURS.
    struct Placed
    {
        Merged merged;
        int oursIndex;
    };
    QVector<Placed> placed;
    QVector<bool> oursPlaced(ours.objects.size(), false);
    const Merger::Evidence evidence { base.textEvidence, ours.textEvidence, theirs.textEvidence };
    for (int t = 0; t < theirs.objects.size(); ++t) {
        Merger merger(preference, evidence);
        const ResObject &theirsObject = theirs.objects[t];
        const int b = theirsBase[t];
        const int o = b >= 0 ? baseOurs[b] : theirsOurs[t];
        if (o >= 0) {
            const ResObject &oursObject = ours.objects[o];
            ResObject merged = oursObject;
            if (b >= 0) {
                merged = merger.mergeObject(base.objects[b], oursObject, theirsObject);
            } else if (!sameObject(oursObject, theirsObject)) {
                // Both added an object of this identity, each its own.
                merger.conflicts.append({ QString(), QStringLiteral("(none)"),
                        QStringLiteral("added"), QStringLiteral("added with other contents") });
                if (preference == MergePreference::Theirs)
                    merged = theirsObject;
            }
            placed.append({ { std::move(merged), merger.conflicts }, o });
            oursPlaced[o] = true;
        } else if (b < 0) {
            placed.append({ { theirsObject, {} }, -1 });
        } else if (!sameObject(base.objects[b], theirsObject)) {
            // Removed in OURS, changed in THEIRS.
            removedConflict(theirsObject, b, "removed", "changed");
            if (preference == MergePreference::Theirs)
                placed.append({ { theirsObject, {} }, -1 });
        }
    }

    // What only OURS holds goes after the nearest object before it in OURS that
    // the result keeps.
    QHash<int, QVector<Merged>> afterOurs;
    int anchor = -1;
    for (int o = 0; o < ours.objects.size(); ++o) {
        if (oursPlaced[o]) {
            anchor = o;
            continue;
        }
        const ResObject &oursObject = ours.objects[o];
        const int b = oursBase[o];
        if (b >= 0 && baseTheirs[b] < 0) {
            if (sameObject(base.objects[b], oursObject))
                continue;
            removedConflict(oursObject, b, "changed", "removed");
            if (preference == MergePreference::Theirs)
                continue;
        }
        if (b >= 0 && baseTheirs[b] >= 0)
            continue;
        afterOurs[anchor].append({ oursObject, {} });
    }

    QVector<Merged> ordered = afterOurs.value(-1);
    for (Placed &object : placed) {
        ordered.append(std::move(object.merged));
        if (object.oursIndex >= 0)
            ordered += afterOurs.value(object.oursIndex);
    }

    Merger fileMerger(preference, evidence);
    const auto header = [](const ResHeader &header) {
        ResHeader bytes = header;
        bytes.ObjectCount = 0;
        return QByteArray(reinterpret_cast<const char *>(&bytes), ResHeaderSize);
    };
    const QByteArray headerBytes = fileMerger.pick(
            header(base.header), header(ours.header), header(theirs.header),
            QStringLiteral("header"),
            [](const QByteArray &a, const QByteArray &b) { return a == b; },
            [](const QByteArray &bytes) { return QString::fromLatin1(bytes.toHex()); });
    std::memcpy(&result.contents.header, headerBytes.constData(), ResHeaderSize);
    result.contents.trailing = fileMerger.pick(
            base.trailing, ours.trailing, theirs.trailing, QStringLiteral("trailing"),
            [](const QByteArray &a, const QByteArray &b) { return a == b; }, bytesShown);

    const auto report = [&result](const QString &path, const Merger::Conflict &conflict) {
        result.conflicts << QStringLiteral("%1: base %2, ours %3, theirs %4")
                                    .arg(path, conflict.base, conflict.ours, conflict.theirs);
    };
    for (const Merger::Conflict &conflict : qAsConst(fileMerger.conflicts))
        report(conflict.path, conflict);
    result.contents.objects.reserve(ordered.size());
    for (Merged &merged : ordered) {
        const QString where = QStringLiteral("%1 objects[%2]")
                                      .arg(objectName(merged.object))
                                      .arg(result.contents.objects.size());
        for (const Merger::Conflict &conflict : merged.conflicts)
            report(conflict.path.isEmpty() ? where : where + QLatin1Char('.') + conflict.path,
                    conflict);
        result.contents.objects.append(std::move(merged.object));
    }
    for (const Merger::Conflict &conflict : qAsConst(fileConflicts))
        report(conflict.path, conflict);
    result.contents.header.ObjectCount = qint16(result.contents.objects.size());
    return result;
}
