#pragma once

#include "drovanel.h"
#include "modalwatcher.h"

#include <QGridLayout>
#include <QTemporaryDir>
#include <QTreeWidget>

class QAction;

// The hints of the add commands when nothing fitting is selected.
inline const QString SelectTypeHint =
        QStringLiteral("Please select object type inside the tree, and try again.");
inline const QString SelectObjectHint =
        QStringLiteral("Please select object ID inside the tree, and try again.");

// The forms' value-name tables, in the order their boxes list them, with the
// values the names stand for.
inline const QStringList ObjectTypeNames = { "Weapon", "Item", "Pose", "VipItem", "Map" };
inline const QStringList Part1TypeNames = { "ContinuedInfoMain", "ContinuedInfoSecond", "unknown8",
    "MappedType", "MusicID", "ReboinInfo", "EFWhenGet", "EFAfterGet", "GetItemWhenAction",
    "Lianhua", "GetItemAfterAction" };
inline const QVector<qint32> Part1TypeValues = { 1, 2, 8, 11, 12, 13, 14, 15, 16, 17, 18 };
inline const QStringList EffectTypeNames = { "MaxHp", "NowHp", "ATK", "Defense", "MoveSpeed",
    "NowAngry", "hide" };
inline const QVector<qint32> EffectTypeValues = { 1, 2, 3, 4, 5, 6, 10 };

// The main window as the user meets it: commands go through its actions, files
// through the "Open" dialog, and every modal box is answered by the watcher.
class TestWindow
{
public:
    // The action whose text is the source text, as the interface shows it in the
    // current language.
    QAction *action(const QString &source) const;
    void trigger(const QString &source);
    void open(const QString &path);
    void save() { trigger(QStringLiteral("Save")); }

    // A file of the test's own, in a directory that lives as long as the window.
    QString writeFile(const QString &name, const QByteArray &bytes);

    // A node by its first column: the file node, "Header", "Objects" or a folder;
    // "Pose/2" is the third row of the folder "Pose".
    QTreeWidgetItem *node(const QString &path) const;

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
    auto *grid = form ? qobject_cast<QGridLayout *>(form->layout()) : nullptr;
    QLayoutItem *item = grid ? grid->itemAtPosition(row, 1) : nullptr;
    return item ? qobject_cast<Widget *>(item->widget()) : nullptr;
}

// The labels of a form's grid, from the top.
QStringList labels(QWidget *form);
