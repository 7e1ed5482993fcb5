#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// Answers the modal boxes that a command opens, from a timer that runs in the
// box's own event loop: the next file dialog gets the given path, and any
// message box is recorded and closed, because a message during a measured
// command means the command did not do the work being measured.
class DialogAnswerer : public QObject
{
public:
    explicit DialogAnswerer(const QElapsedTimer &clock);

    // Answers file dialogs with path, and closes message boxes, until stop().
    void start(const QString &path);
    void stop();

    // When the file dialog was last accepted, on the clock given at construction.
    qint64 acceptedAtNs() const { return acceptedAt; }
    QStringList messages;

private:
    void poll();

    const QElapsedTimer &clock;
    QTimer timer;
    QString path;
    qint64 acceptedAt = -1;
};
