#include "testwindow.h"

#include "resbytes.h"

#include <QAction>
#include <QtTest>

void TestWindow::trigger(const QString &source)
{
    const QString text = QCoreApplication::translate("Drovanel", source.toUtf8().constData());
    for (QAction *action : window.findChildren<QAction *>()) {
        if (action->text() == text)
            action->trigger();
    }
}

void TestWindow::open(const QString &path)
{
    watcher.files.enqueue(path);
    trigger(QStringLiteral("Open"));
}

QString TestWindow::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    return testres::writeFile(path, bytes) ? path : QString();
}

QTreeWidgetItem *TestWindow::node(const QString &path) const
{
    // "Header" and "Objects" are the window's texts, the folders the type names.
    const QByteArray source = path.section('/', 0, 0).toUtf8();
    QString name = QCoreApplication::translate("Drovanel", source.constData());
    if (name == QLatin1String(source))
        name = QCoreApplication::translate("ResFields", source.constData());
    QTreeWidgetItem *item = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    return item && path.contains('/') ? item->child(path.section('/', 1).toInt()) : item;
}

void retype(QWidget *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
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
