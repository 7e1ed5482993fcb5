// A plugin that the tests load into the real editor (QT_QPA_GENERIC_PLUGINS):
// it answers every box as the tests' ModalWatcher does, and once the editor
// waits for the user with no box open, it prints what the window shows and
// closes the window, as a user who looked at it would.

#include "windowtext.h"

#include <QApplication>
#include <QGenericPlugin>
#include <QMainWindow>

#include <cstdio>

namespace {

class Observer : public QObject
{
public:
    Observer()
    {
        // A box is answered in its own event loop, and the watcher's next poll
        // comes once what opened it is done: at the next box or in the editor's
        // own event loop.
        watcher.idle = [this] {
            for (QWidget *window : QApplication::topLevelWidgets()) {
                if (qobject_cast<QMainWindow *>(window) && window->isVisible()) {
                    std::fputs(describeWindow(*window, watcher).toUtf8().constData(), stdout);
                    window->close();
                }
            }
        };
    }

private:
    ModalWatcher watcher;
};

} // namespace

class ObserverPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "observer.json")

public:
    QObject *create(const QString &, const QString &) override { return new Observer; }
};

#include "observer.moc"
