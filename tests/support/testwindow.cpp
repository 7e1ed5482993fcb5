#include "testwindow.h"

#include "resbytes.h"

#include <QAction>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QtTest>

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

void retype(QWidget *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() < 0x80) {
            QTest::keyClick(edit, text.at(i).toLatin1());
            continue;
        }
        // Other characters come from an input method, a surrogate pair at once.
        QInputMethodEvent commit;
        commit.setCommitString(text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1));
        i += commit.commitString().size() - 1;
        QCoreApplication::sendEvent(edit, &commit);
    }
}
