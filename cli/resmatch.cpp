#include "resmatch.h"

#include <QHash>

#include <algorithm>
#include <deque>

std::optional<RecordText> storedText(
        const ResString &string, bool modelName, const TextEvidence &evidence)
{
    const QByteArray stored = QByteArray::fromRawData(string.Text, string.Length);
    const int zero = stored.indexOf('\0');
    if (zero != stored.size() - 1)
        return std::nullopt;
    const QByteArray bytes = stored.left(zero);
    RecordText shown =
            modelName ? readModelNameText(bytes, evidence) : readRecordText(bytes, evidence);
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
    QHash<quint64, std::deque<int>> unmatched;
    for (int i = 0; i < from.size(); ++i)
        unmatched[from[i]].push_back(i);
    QVector<int> matches(to.size(), -1);
    for (int i = 0; i < to.size(); ++i) {
        auto candidates = unmatched.find(to[i]);
        if (candidates != unmatched.end() && !candidates->empty()) {
            matches[i] = candidates->front();
            candidates->pop_front();
        }
    }
    return matches;
}
