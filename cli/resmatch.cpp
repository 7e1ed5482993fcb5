#include "resmatch.h"

#include <algorithm>
#include <numeric>

std::optional<RecordText> storedText(
        const ResString &string, bool modelName, const TextEvidence &evidence)
{
    const QByteArray stored = QByteArray::fromRawData(string.Text, string.Length);
    const int zero = stored.indexOf('\0');
    if (zero != stored.size() - 1)
        return std::nullopt;
    const QByteArray bytes = stored.left(zero);
    RecordText shown = readStoredText(string, modelName, evidence);
    // JSON text is UTF-8, which has no form for a lone surrogate.
    if (!shown.text.isValidUtf16() || encodeRecordText(shown.text, shown.encoding) != bytes)
        return std::nullopt;
    return shown;
}

bool sameObject(const ResObject &a, const ResObject &b)
{
    return a.ObjectType == b.ObjectType && a.EntryTypeTypeID == b.EntryTypeTypeID
            && sameString(a.String1, b.String1) && sameString(a.String2, b.String2)
            && sameString(a.String3, b.String3) && sameTable(a.Part1, b.Part1)
            && sameTable(a.Part2, b.Part2);
}

QString objectName(const ResObject &object)
{
    const char *folder = objectTypeFolder(object.ObjectType);
    const QString type =
            folder ? QLatin1String(folder) : QStringLiteral("ObjectType %1").arg(object.ObjectType);
    return type + QLatin1Char(' ') + QString::number(object.EntryTypeTypeID);
}

QVector<int> matchObjects(const QVector<ResObject> &from, const QVector<ResObject> &to)
{
    const auto identities = [](const QVector<ResObject> &objects) {
        QVector<quint64> identities;
        identities.reserve(objects.size());
        for (const ResObject &object : objects)
            identities.append(identityOf(object));
        return identities;
    };
    return matchIdentities(identities(from), identities(to));
}

QVector<int> matchIdentities(const QVector<quint64> &from, const QVector<quint64> &to)
{
    // The places of from by identity and then by place: a run for each
    // identity, matched from its front. A queue per identity cost a tenth of a
    // diff in allocations.
    QVector<int> places(from.size());
    std::iota(places.begin(), places.end(), 0);
    std::sort(places.begin(), places.end(),
            [&from](int a, int b) { return from[a] != from[b] ? from[a] < from[b] : a < b; });
    // At the first place of each run: how many of the run are matched.
    QVector<int> matchedOfRun(places.size(), 0);
    QVector<int> matches(to.size(), -1);
    for (int i = 0; i < to.size(); ++i) {
        const int first =
                int(std::lower_bound(places.cbegin(), places.cend(), to[i],
                            [&from](int place, quint64 identity) { return from[place] < identity; })
                        - places.cbegin());
        const int next = first + matchedOfRun.value(first);
        if (next < places.size() && from[places[next]] == to[i]) {
            matches[i] = places[next];
            ++matchedOfRun[first];
        }
    }
    return matches;
}
