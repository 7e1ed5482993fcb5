#include "modalwatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

ModalWatcher::ModalWatcher()
{
    connect(&timer, &QTimer::timeout, this, &ModalWatcher::poll);
    timer.start(5);
}

void ModalWatcher::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        QPushButton *defaultButton = box->defaultButton();
        boxes.append({ box->windowTitle(), box->text(), box->standardButtons(),
                defaultButton ? box->standardButton(defaultButton) : QMessageBox::NoButton });
        QAbstractButton *answer =
                buttons.isEmpty() ? box->escapeButton() : box->button(buttons.dequeue());
        if (answer)
            answer->click();
        else
            box->reject();
    } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        const QString path = files.isEmpty() ? QString() : files.dequeue();
        if (path.isNull()) {
            dialog->reject();
            return;
        }
        // selectFile() races the dialog's directory model and leaves a focused
        // name field as it was; a name typed into the field is what accept()
        // reads, whatever the model has loaded.
        const QFileInfo file(path);
        dialog->setDirectory(file.absolutePath());
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(file.fileName());
        static_cast<QDialog *>(dialog)->accept();
    }
}
