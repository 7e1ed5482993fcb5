#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QTimer>
#include <QVector>

// While it lives, answers every modal box the program opens, from a timer that
// runs in the box's own event loop: message boxes are closed with their first
// button after their texts are recorded, and file dialogs get the next queued
// path (a null QString cancels them).
class ModalWatcher : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        QWidget *parent;
    };

    ModalWatcher();

    void queueFile(const QString &path) { files.enqueue(path); }
    void queueCancel() { files.enqueue(QString()); }

    QVector<Box> boxes;
    int fileDialogs = 0;

private:
    void poll();

    QTimer timer;
    QQueue<QString> files;
};
