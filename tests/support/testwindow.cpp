#include "testwindow.h"

#include "resbytes.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>

QAction *TestWindow::action(const QString &source) const
{
    const QString text = QCoreApplication::translate("Drovanel", source.toUtf8().constData());
    for (QAction *candidate : window.findChildren<QAction *>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

void TestWindow::trigger(const QString &source)
{
    if (QAction *found = action(source))
        found->trigger();
}

void TestWindow::open(const QString &path)
{
    watcher.queueFile(path);
    trigger(QStringLiteral("Open"));
}

QString TestWindow::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    return testres::writeFile(path, bytes) ? path : QString();
}

QTreeWidgetItem *TestWindow::node(const QString &path) const
{
    const QList<QTreeWidgetItem *> found =
            tree->findItems(path.section('/', 0, 0), Qt::MatchExactly | Qt::MatchRecursive);
    QTreeWidgetItem *item = found.value(0);
    return item && path.contains('/') ? item->child(path.section('/', 1).toInt()) : item;
}

QStringList labels(QWidget *form)
{
    QStringList texts;
    auto *grid = qobject_cast<QGridLayout *>(form->layout());
    for (int row = 0; grid && row < grid->rowCount(); ++row) {
        QLayoutItem *item = grid->itemAtPosition(row, 0);
        if (auto *label = item ? qobject_cast<QLabel *>(item->widget()) : nullptr)
            texts << label->text();
    }
    return texts;
}
