#include "golden.h"

#include "resbytes.h"

#include <QDir>
#include <QFile>

namespace golden {

QString mismatch(const QString &name, const QByteArray &text)
{
    const QString path = QDir(QStringLiteral(DROVANEL_GOLDEN_DIR)).filePath(name);
    if (qEnvironmentVariableIntValue("DROVANEL_UPDATE_GOLDEN") == 1)
        return testres::writeFile(path, text) ? QString() : QStringLiteral("cannot write ") + path;
    const QList<QByteArray> expected = testres::readAll(path).split('\n'),
                            actual = text.split('\n');
    for (int i = 0; i < qMax(expected.size(), actual.size()); ++i) {
        if (i >= expected.size() || i >= actual.size() || expected.at(i) != actual.at(i)) {
            return QStringLiteral("%1 line %2: expected \"%3\", got \"%4\"; after a deliberate "
                                  "change, run with DROVANEL_UPDATE_GOLDEN=1 and review the diff")
                    .arg(path)
                    .arg(i + 1)
                    .arg(QString::fromUtf8(expected.value(i, "(end)")),
                            QString::fromUtf8(actual.value(i, "(end)")));
        }
    }
    return QString();
}

} // namespace golden
