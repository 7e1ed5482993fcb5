#include "resmods.h"

#include "resdiff.h"
#include "resfields.h"
#include "resmatch.h"

#include <QHash>
#include <QRegularExpression>

namespace {

// The first object of that identity in the file, or null.
const ResObject *objectOf(const ResStruct &file, quint64 identity)
{
    for (const ResObject &object : file.objects) {
        if (identityOf(object) == identity)
            return &object;
    }
    return nullptr;
}

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
    if (kind == MergeConflict::Trailing)
        return bytesShown(file.trailing);
    ResHeader header = file.header;
    header.ObjectCount = 0;
    return QString::fromLatin1(
            QByteArray(reinterpret_cast<const char *>(&header), ResHeaderSize).toHex());
}

// One line for a conflict that the merge of mods[0 .. last] met: where it is,
// the base value, and each mod that changed it with its value.
QString described(const MergeConflict &conflict, const ResStruct &merged, const ResStruct &base,
        const QVector<const ResStruct *> &mods, const QStringList &names, int last)
{
    QString where, baseValue;
    std::function<QString(const ResStruct &)> valueIn;
    if (conflict.kind == MergeConflict::Field) {
        const ResObject &object = merged.objects.at(conflict.object);
        const quint64 identity = identityOf(object);
        where = QStringLiteral("%1 objects[%2]").arg(objectName(object)).arg(conflict.object);
        if (!conflict.path.isEmpty())
            where += QLatin1Char('.') + conflict.path;
        // The whole object: added by several mods, with other contents.
        const ResObject *firstAdded = nullptr;
        valueIn = [&, identity](const ResStruct &file) {
            const ResObject *found = objectOf(file, identity);
            if (!found)
                return QStringLiteral("(none)");
            if (!conflict.path.isEmpty())
                return valueAt(*found, conflict.path, file);
            if (!firstAdded)
                firstAdded = found;
            return sameObject(*found, *firstAdded) ? QStringLiteral("added")
                                                   : QStringLiteral("added with other contents");
        };
    } else if (conflict.kind == MergeConflict::Removed) {
        const ResObject &object = base.objects.at(conflict.object);
        where = QStringLiteral("%1 (base objects[%2])")
                        .arg(objectName(object))
                        .arg(conflict.object);
        valueIn = [&](const ResStruct &file) {
            if (&file == &base)
                return QStringLiteral("present");
            const ResObject *found = objectOf(file, identityOf(object));
            return !found                        ? QStringLiteral("removed")
                    : sameObject(*found, object) ? QStringLiteral("present")
                                                 : QStringLiteral("changed");
        };
    } else {
        where = QLatin1String(conflict.kind == MergeConflict::Header ? "header" : "trailing");
        valueIn = [&](const ResStruct &file) { return fileBytes(file, conflict.kind); };
    }
    baseValue = valueIn(base);
    QString line = QStringLiteral("%1: base %2").arg(where, baseValue);
    for (int i = 0; i <= last; ++i) {
        const QString value = valueIn(*mods.at(i));
        if (value != baseValue)
            line += QStringLiteral(", %1 %2").arg(names.at(i), value);
    }
    return line;
}

} // namespace

MergeResult mergeMods(const ResStruct &base, const QVector<const ResStruct *> &mods,
        const QStringList &names, MergePreference preference)
{
    if (mods.size() == 2)
        return mergeContents(base, *mods.at(0), *mods.at(1), preference);
    // Where the conflicts are once every mod is merged, told once each.
    QVector<QPair<quint64, MergeConflict>> conflicts;
    QHash<QString, int> listed;
    MergeResult result;
    for (int k = 1; k < mods.size(); ++k) {
        MergeResult step = mergeContents(
                base, k == 1 ? *mods.first() : result.contents, *mods.at(k), preference);
        for (const MergeConflict &conflict : qAsConst(step.found)) {
            const quint64 identity = conflict.kind == MergeConflict::Field
                    ? identityOf(step.contents.objects.at(conflict.object))
                    : 0;
            const QString key =
                    QStringLiteral("%1 %2 %3 %4")
                            .arg(int(conflict.kind))
                            .arg(identity)
                            .arg(conflict.kind == MergeConflict::Removed ? conflict.object : 0)
                            .arg(conflict.path);
            if (!listed.contains(key)) {
                listed.insert(key, conflicts.size());
                conflicts.append({ identity, conflict });
            }
        }
        result.contents = std::move(step.contents);
    }
    for (auto [identity, conflict] : qAsConst(conflicts)) {
        if (conflict.kind == MergeConflict::Field) {
            const auto &objects = result.contents.objects;
            conflict.object = int(std::find_if(objects.begin(), objects.end(),
                                          [identity = identity](const ResObject &object) {
                                              return identityOf(object) == identity;
                                          })
                    - objects.begin());
            if (conflict.object == objects.size())
                continue;
        }
        result.conflicts << described(
                conflict, result.contents, base, mods, names, mods.size() - 1);
        result.found.append(conflict);
    }
    return result;
}
