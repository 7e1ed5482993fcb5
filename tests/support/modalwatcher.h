#pragma once

#include <QMessageBox>
#include <QQueue>
#include <QTimer>

#include <functional>

// While it lives, answers every modal box the program opens, from a timer that
// runs in the box's own event loop. A message box is recorded and answered with
// the next queued button, or else with its first button; a file dialog gets
// the next queued path (a null QString cancels it) and its name filters are
// recorded. While no box is open, it calls idle, if set.
class ModalWatcher : public QObject
{
public:
    struct Box
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };

    ModalWatcher();

    QVector<Box> boxes;
    QQueue<QMessageBox::StandardButton> buttons;
    QQueue<QString> files;
    QStringList dialogs;
    std::function<void()> idle;

private:
    void poll();

    QTimer timer;
};
