#include "dialoganswerer.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

DialogAnswerer::DialogAnswerer(const QElapsedTimer &clock)
    : clock(clock)
{
    connect(&timer, &QTimer::timeout, this, &DialogAnswerer::poll);
}

void DialogAnswerer::start(const QString &answer)
{
    path = answer;
    acceptedAt = -1;
    timer.start(1);
}

void DialogAnswerer::stop()
{
    timer.stop();
}

void DialogAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        messages.append(box->text());
        box->reject();
        return;
    }
    if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        // A name typed into the name field is what accept() reads; selectFile()
        // races the dialog's directory model.
        const QFileInfo file(path);
        dialog->setDirectory(file.absolutePath());
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(file.fileName());
        // The user's wait starts when the dialog is accepted, not when it opened.
        acceptedAt = clock.nsecsElapsed();
        static_cast<QDialog *>(dialog)->accept();
    }
}
