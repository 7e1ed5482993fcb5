#include "resdiff.h"

#include "console.h"
#include "resmatch.h"

#include <cstring>

namespace {

QString hexOf(const void *data, int size)
{
    return QString::fromLatin1(
            QByteArray::fromRawData(static_cast<const char *>(data), size).toHex());
}

template<typename Entry, size_t FieldCount>
void diffTable(QStringList &lines, const QString &prefix, const char *name,
        const QVector<Entry> &from, const QVector<Entry> &to,
        const IntegerField<Entry> (&fields)[FieldCount])
{
    const int common = qMin(from.size(), to.size());
    for (int i = 0; i < common; ++i) {
        for (const IntegerField<Entry> &field : fields) {
            const qint32 was = from[i].*field.member, is = to[i].*field.member;
            if (was != is) {
                lines << QStringLiteral("%1%2[%3].%4 %5 → %6")
                                 .arg(prefix, QLatin1String(name))
                                 .arg(i)
                                 .arg(QLatin1String(field.name))
                                 .arg(was)
                                 .arg(is);
            }
        }
    }
    if (to.size() != from.size()) {
        lines << QStringLiteral("%1%2 %3 %4")
                         .arg(prefix, QLatin1String(name), entries(qAbs(to.size() - from.size())),
                                 QLatin1String(to.size() > from.size() ? "added" : "removed"));
    }
}

void diffObject(QStringList &lines, const ResStruct &fromFile, int fromIndex,
        const ResStruct &toFile, int toIndex)
{
    const ResObject &from = fromFile.objects[fromIndex], &to = toFile.objects[toIndex];
    const QString where = fromIndex == toIndex
            ? QStringLiteral("objects[%1]").arg(toIndex)
            : QStringLiteral("objects[%1] → [%2]").arg(fromIndex).arg(toIndex);
    const QString prefix = QStringLiteral("%1 (%2): ").arg(objectName(to), where);
    for (const StringField &field : StringFields) {
        const ResString &was = from.*field.member, &is = to.*field.member;
        if (!sameString(was, is)) {
            lines << prefix + QLatin1String(field.name) + QLatin1Char(' ')
                            + shownString(was, field.modelName, textEvidenceOf(fromFile))
                            + QStringLiteral(" → ")
                            + shownString(is, field.modelName, textEvidenceOf(toFile));
        }
    }
    diffTable(lines, prefix, "Part1", from.Part1, to.Part1, Part1Fields);
    diffTable(lines, prefix, "Part2", from.Part2, to.Part2, Part2Fields);
}

QString removed(const QVector<ResObject> &objects, int index)
{
    return QStringLiteral("- %1 (objects[%2])").arg(objectName(objects[index])).arg(index);
}

} // namespace

QString shownString(const ResString &string, bool modelName, const TextEvidence &evidence)
{
    if (const std::optional<RecordText> shown = storedText(string, modelName, evidence))
        return console::quoted(shown->text);
    return QStringLiteral("hex ") + QString::fromLatin1(storedBytes(string).toHex());
}

QStringList diffContents(const ResStruct &from, const ResStruct &to)
{
    QStringList lines;
    const ResHeader &was = from.header, &is = to.header;
    if (std::memcmp(was.OpaqueHead, is.OpaqueHead, OpaqueHeadSize) != 0) {
        lines << QStringLiteral("header: OpaqueHead %1 → %2")
                         .arg(hexOf(was.OpaqueHead, OpaqueHeadSize),
                                 hexOf(is.OpaqueHead, OpaqueHeadSize));
    }
    if (std::memcmp(was.OpaqueTail, is.OpaqueTail, OpaqueTailSize) != 0) {
        lines << QStringLiteral("header: OpaqueTail %1 → %2")
                         .arg(hexOf(was.OpaqueTail, OpaqueTailSize),
                                 hexOf(is.OpaqueTail, OpaqueTailSize));
    }

    const QVector<int> matches = matchObjects(from.objects, to.objects);
    QVector<bool> kept(from.objects.size(), false);
    for (int match : matches) {
        if (match >= 0)
            kept[match] = true;
    }
    // A removed object is told where it stood: before the first object of the
    // new file whose match came after it in the old one.
    int nextRemoved = 0;
    const auto tellRemovedBefore = [&](int end) {
        for (; nextRemoved < end; ++nextRemoved) {
            if (!kept[nextRemoved])
                lines << removed(from.objects, nextRemoved);
        }
    };
    for (int i = 0; i < to.objects.size(); ++i) {
        const int match = matches[i];
        if (match < 0) {
            lines << QStringLiteral("+ %1 (objects[%2])").arg(objectName(to.objects[i])).arg(i);
            continue;
        }
        tellRemovedBefore(match);
        // Most objects of a mod are unchanged, and naming each cost a fifth of a diff.
        if (!sameObject(from.objects[match], to.objects[i]))
            diffObject(lines, from, match, to, i);
    }
    tellRemovedBefore(from.objects.size());

    if (from.trailing != to.trailing) {
        lines << QStringLiteral("trailing: %1 → %2")
                         .arg(bytesShown(from.trailing), bytesShown(to.trailing));
    }
    return lines;
}
