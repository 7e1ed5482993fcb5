#include "resmods.h"

#include "resdiff.h"
#include "resfields.h"
#include "resmatch.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <functional>
#include <vector>

namespace {

// Where an object stands among the objects of its identity: objects of one
// identity match in their order between files, as matchObjects() pairs them.
struct ObjectKey
{
    quint64 identity;
    int occurrence;
};

// The objects of a file by their keys, and the key of each.
class ObjectIndex
{
public:
    explicit ObjectIndex(const ResStruct &file)
        : file(file)
    {
        keys.reserve(file.objects.size());
        for (int i = 0; i < file.objects.size(); ++i) {
            const quint64 identity = identityOf(file.objects[i]);
            QVector<int> &places = byIdentity[identity];
            keys.append({ identity, int(places.size()) });
            places.append(i);
        }
    }

    ObjectKey keyOf(int index) const { return keys.at(index); }
    // The index of the object of that key, or -1.
    int indexOf(ObjectKey key) const
    {
        return byIdentity.value(key.identity).value(key.occurrence, -1);
    }
    const ResObject *find(ObjectKey key) const
    {
        const int index = indexOf(key);
        return index < 0 ? nullptr : &file.objects.at(index);
    }

    const ResStruct &file;

private:
    QVector<ObjectKey> keys;
    QHash<quint64, QVector<int>> byIdentity;
};

// How a field of an object of the file shows, by its path within the object;
// "(none)" for an entry the table does not hold.
QString valueAt(const ResObject &object, const QString &path, const ResStruct &file)
{
    for (const StringField &field : StringFields) {
        if (path == QLatin1String(field.name))
            return shownString(object.*field.member, field.modelName, textEvidenceOf(file));
    }
    static const QRegularExpression entryField(QStringLiteral("^(Part[12])\\[(\\d+)\\]\\.(\\w+)$"));
    const QRegularExpressionMatch entry = entryField.match(path);
    const auto fieldOf = [&](const auto &table, const auto &fields) {
        const int index = entry.captured(2).toInt();
        if (index >= table.size())
            return QStringLiteral("(none)");
        for (const auto &field : fields) {
            if (entry.captured(3) == QLatin1String(field.name))
                return QString::number(table.at(index).*field.member);
        }
        return QString();
    };
    if (entry.hasMatch()) {
        return entry.captured(1) == QLatin1String(Part1Name) ? fieldOf(object.Part1, Part1Fields)
                                                             : fieldOf(object.Part2, Part2Fields);
    }
    return entries(path == QLatin1String(Part1Name) ? object.Part1.size() : object.Part2.size());
}

// The header less its count, or the trailing bytes, as a conflict shows them.
QString fileBytes(const ResStruct &file, MergeConflict::Kind kind)
{
    return kind == MergeConflict::Trailing
            ? bytesShown(file.trailing)
            : QString::fromLatin1(headerLessCount(file.header).toHex());
}

// One line for a conflict that the merge of the mods met: where it is, the
// base value, and each mod that changed it with its value.
QString described(const MergeConflict &conflict, const ObjectIndex &merged, const ObjectIndex &base,
        const std::vector<ObjectIndex> &mods, const QStringList &names)
{
    QString where;
    std::function<QString(const ObjectIndex &)> valueIn;
    // Of an object added by several mods: the first one's, to tell the others by.
    const ResObject *firstAdded = nullptr;
    if (conflict.kind == MergeConflict::Field) {
        const ResObject &object = merged.file.objects.at(conflict.object);
        const ObjectKey key = merged.keyOf(conflict.object);
        where = QStringLiteral("%1 objects[%2]").arg(objectName(object)).arg(conflict.object);
        if (!conflict.path.isEmpty())
            where += QLatin1Char('.') + conflict.path;
        valueIn = [&, key](const ObjectIndex &file) {
            const ResObject *found = file.find(key);
            if (!found)
                return QStringLiteral("(none)");
            if (!conflict.path.isEmpty())
                return valueAt(*found, conflict.path, file.file);
            if (!firstAdded)
                firstAdded = found;
            return sameObject(*found, *firstAdded) ? QStringLiteral("added")
                                                   : QStringLiteral("added with other contents");
        };
    } else if (conflict.kind == MergeConflict::Removed) {
        const ResObject &object = base.file.objects.at(conflict.object);
        const ObjectKey key = base.keyOf(conflict.object);
        where = QStringLiteral("%1 (base objects[%2])")
                        .arg(objectName(object))
                        .arg(conflict.object);
        valueIn = [&, key](const ObjectIndex &file) {
            if (&file == &base)
                return QStringLiteral("present");
            const ResObject *found = file.find(key);
            return !found                        ? QStringLiteral("removed")
                    : sameObject(*found, object) ? QStringLiteral("present")
                                                 : QStringLiteral("changed");
        };
    } else {
        where = QLatin1String(conflict.kind == MergeConflict::Header ? "header" : "trailing");
        valueIn = [&](const ObjectIndex &file) { return fileBytes(file.file, conflict.kind); };
    }
    const QString baseValue = valueIn(base);
    QString line = QStringLiteral("%1: base %2").arg(where, baseValue);
    for (size_t i = 0; i < mods.size(); ++i) {
        const QString value = valueIn(mods[i]);
        if (value != baseValue)
            line += QStringLiteral(", %1 %2").arg(names.at(int(i)), value);
    }
    return line;
}

} // namespace

MergeResult mergeMods(const ResStruct &base, const QVector<const ResStruct *> &mods,
        const QStringList &names, MergePreference preference)
{
    if (mods.size() == 2)
        return mergeContents(base, *mods.at(0), *mods.at(1), preference);
    // Where the conflicts are once every mod is merged, told once each: an
    // object's by its key, which later steps keep though they move the object.
    QVector<QPair<ObjectKey, MergeConflict>> conflicts;
    QSet<QString> listed;
    MergeResult result;
    for (int k = 1; k < mods.size(); ++k) {
        MergeResult step = mergeContents(
                base, k == 1 ? *mods.first() : result.contents, *mods.at(k), preference);
        if (!step.found.isEmpty()) {
            const ObjectIndex stepIndex(step.contents);
            for (const MergeConflict &conflict : qAsConst(step.found)) {
                const ObjectKey key = conflict.kind == MergeConflict::Field
                        ? stepIndex.keyOf(conflict.object)
                        : ObjectKey { 0,
                              conflict.kind == MergeConflict::Removed ? conflict.object : 0 };
                const QString seen = QStringLiteral("%1 %2 %3 %4")
                                             .arg(int(conflict.kind))
                                             .arg(key.identity)
                                             .arg(key.occurrence)
                                             .arg(conflict.path);
                if (!listed.contains(seen)) {
                    listed.insert(seen);
                    conflicts.append({ key, conflict });
                }
            }
        }
        result.contents = std::move(step.contents);
    }
    if (conflicts.isEmpty())
        return result;
    const ObjectIndex merged(result.contents), baseIndex(base);
    std::vector<ObjectIndex> modIndexes;
    for (const ResStruct *mod : mods)
        modIndexes.emplace_back(*mod);
    for (auto [key, conflict] : qAsConst(conflicts)) {
        if (conflict.kind == MergeConflict::Field) {
            conflict.object = merged.indexOf(key);
            if (conflict.object < 0)
                continue;
        }
        result.conflicts << described(conflict, merged, baseIndex, modIndexes, names);
        result.found.append(conflict);
    }
    return result;
}
