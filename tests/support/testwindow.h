#pragma once

#include "drovanel.h"
#include "modalwatcher.h"

#include <QGridLayout>
#include <QTemporaryDir>
#include <QTreeWidget>

// The main window as the user meets it: commands go through its actions, files
// through the "Open" dialog, and every modal box is answered by the watcher.
class TestWindow
{
public:
    // Triggers the action whose text is the source text, as the interface shows
    // it in the current language.
    void trigger(const QString &source);
    void open(const QString &path);
    void save() { trigger(QStringLiteral("Save")); }

    // A file of the test's own, in a directory that lives as long as the window.
    QString writeFile(const QString &name, const QByteArray &bytes);

    // A node by its first column's source text: the file node, "Header",
    // "Objects" or a folder; "Pose/2" is the third row of the folder "Pose".
    QTreeWidgetItem *node(const QString &path) const;
    void select(const QString &path) { tree->setCurrentItem(node(path)); }

    template<typename Form>
    Form *form(int i = 0) const
    {
        return window.findChildren<Form *>().value(i);
    }

    QTemporaryDir dir;
    Drovanel window;
    ModalWatcher watcher;
    QTreeWidget *const tree = window.findChild<QTreeWidget *>();
};

// The value widget of a form's grid row, beside the row's label.
template<typename Widget = QWidget>
Widget *valueAt(QWidget *form, int row)
{
    return qobject_cast<Widget *>(
            static_cast<QGridLayout *>(form->layout())->itemAtPosition(row, 1)->widget());
}

// Replaces what a line edit holds by typing text over it, key by key; what a
// keyboard cannot type comes from an input method.
void retype(QWidget *edit, const QString &text);
