#include "modalwatcher.h"

#include <QApplication>
#include <QFileDialog>
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
    if (!modal || !modal->isVisible()) {
        if (idle)
            idle();
        return;
    }
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        boxes.append({ box->icon(), box->windowTitle(), box->text(), box->standardButtons(),
                box->standardButton(box->defaultButton()) });
        (buttons.isEmpty() ? box->buttons().first() : box->button(buttons.dequeue()))->click();
    } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        dialogs << dialog->nameFilters().join(QLatin1String(", "));
        const QString path = files.isEmpty() ? QString() : files.dequeue();
        if (path.isNull())
            return dialog->reject();
        // selectFile() races the dialog's directory model and leaves a focused
        // name field as it was; a name typed into the field is what accept()
        // reads, whatever the model has loaded.
        const QFileInfo file(path);
        dialog->setDirectory(file.absolutePath());
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file.fileName());
        static_cast<QDialog *>(dialog)->accept();
    }
}
