#pragma once

#include <QMessageBox>
#include <QObject>
#include <QQueue>
#include <QTimer>
#include <QVector>

// While it lives, answers every modal box the program opens, from a timer that
// runs in the box's own event loop. A message box is recorded and answered with
// the next queued button, or else with its escape button; a file dialog gets
// the next queued path (a null QString cancels it).
class ModalWatcher : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };

    ModalWatcher();

    void queueFile(const QString &path) { files.enqueue(path); }
    void queueButton(QMessageBox::StandardButton button) { buttons.enqueue(button); }

    QVector<Box> boxes;

private:
    void poll();

    QTimer timer;
    QQueue<QString> files;
    QQueue<QMessageBox::StandardButton> buttons;
};
