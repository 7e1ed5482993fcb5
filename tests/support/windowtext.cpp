#include "windowtext.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QSet>
#include <QTreeWidget>

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>

namespace {

void describeTree(QStringList &lines, const QTreeWidget &tree)
{
    QStringList header;
    for (int i = 0; i < tree.columnCount(); ++i)
        header << tree.headerItem()->text(i);
    lines << QStringLiteral("tree: ") + header.join(QLatin1String(" | "));
    const std::function<void(const QTreeWidgetItem *, int)> describe =
            [&](const QTreeWidgetItem *item, int depth) {
                QStringList columns;
                for (int i = 0; i < tree.columnCount(); ++i)
                    columns << item->text(i);
                while (columns.size() > 1 && columns.last().isEmpty())
                    columns.removeLast();
                const char *mark = !item->childCount() ? "  " : item->isExpanded() ? "- " : "+ ";
                lines << QString(depth * 2, QLatin1Char(' ')) + QLatin1String(mark)
                                + columns.join(QLatin1String(" | "))
                                + QLatin1String(item == tree.currentItem() ? "  <- current" : "");
                for (int i = 0; item->isExpanded() && i < item->childCount(); ++i)
                    describe(item->child(i), depth + 1);
            };
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        describe(tree.topLevelItem(i), 0);
}

QString valueText(const QWidget *value, QStringList &lists)
{
    QString text;
    if (auto *edit = qobject_cast<const QLineEdit *>(value))
        text = edit->text();
    if (auto *box = qobject_cast<const QComboBox *>(value)) {
        text = QStringLiteral("%1 (%2 of %3)")
                       .arg(box->currentText())
                       .arg(box->currentIndex() + 1)
                       .arg(box->count());
        QStringList choices;
        for (int i = 0; i < box->count(); ++i)
            choices << box->itemText(i);
        if (box->view()->isVisible())
            lists << QStringLiteral("list: ") + choices.join(QLatin1String(" | "));
    }
    return value->isEnabled() ? text : text + QStringLiteral(" (fixed)");
}

// Forms by their group box (or none), then by their place.
void describeForms(QStringList &lines, const QWidget &window)
{
    // By the top of the group box, or of a form in none.
    std::map<std::tuple<int, int, int>, const QWidget *> forms;
    QHash<int, QString> titles;
    QHash<int, QSet<int>> tops, lefts;
    for (const QWidget *widget : window.findChildren<QWidget *>()) {
        if (!widget->isVisible() || !qobject_cast<QGridLayout *>(widget->layout()))
            continue;
        const QGroupBox *group = nullptr;
        for (const QWidget *parent = widget; parent && !group; parent = parent->parentWidget())
            group = qobject_cast<const QGroupBox *>(parent);
        const QPoint place = widget->mapTo(&window, QPoint());
        const int top = group ? group->mapTo(&window, QPoint()).y() : place.y();
        forms[{ top, place.y(), place.x() }] = widget;
        titles[top] = group ? group->title() : QString();
        tops[top] << place.y();
        lefts[top] << place.x();
    }
    // Its row and column among the forms of its group box, counted from 1.
    const auto rank = [](const QSet<int> &places, int place) {
        return std::count_if(places.begin(), places.end(), [place](int p) { return p <= place; });
    };
    for (const auto &[key, form] : forms) {
        const int top = std::get<0>(key);
        QStringList fields, lists;
        const auto *grid = static_cast<const QGridLayout *>(form->layout());
        for (int i = 0; i < grid->rowCount(); ++i) {
            fields << static_cast<QLabel *>(grid->itemAtPosition(i, 0)->widget())->text()
                            + QStringLiteral(": ")
                            + valueText(grid->itemAtPosition(i, 1)->widget(), lists);
        }
        const QString where = titles[top].isNull()
                ? QStringLiteral("form")
                : QStringLiteral("%1 %2,%3")
                          .arg(titles[top])
                          .arg(rank(tops[top], std::get<1>(key)))
                          .arg(rank(lefts[top], std::get<2>(key)));
        lines << where + QStringLiteral(": ") + fields.join(QLatin1String(" | ")) << lists;
    }
}

} // namespace

QString describeWindow(const QWidget &window, const ModalWatcher &watcher)
{
    QStringList lines { QStringLiteral("title: ") + window.windowTitle()
        + QLatin1String(window.isVisible() ? "" : " (closed)") };
    if (const auto *bar = window.findChild<QMenuBar *>()) {
        for (const QAction *menu : bar->actions()) {
            QStringList actions;
            for (const QAction *action : menu->menu()->actions())
                actions << action->text();
            lines << QStringLiteral("menu %1: %2")
                             .arg(menu->text(), actions.join(QLatin1String(", ")));
        }
    }
    if (const auto *tree = window.findChild<QTreeWidget *>())
        describeTree(lines, *tree);
    describeForms(lines, window);
    const QMetaEnum icons = QMetaEnum::fromType<QMessageBox::Icon>();
    const QMetaEnum buttons = QMetaEnum::fromType<QMessageBox::StandardButtons>();
    for (const ModalWatcher::Box &box : watcher.boxes) {
        QStringList names;
        for (int button = QMessageBox::FirstButton; button <= QMessageBox::LastButton;
                button <<= 1) {
            if (box.buttons & button)
                names << buttons.valueToKey(button)
                                + QString(button == box.defaultButton ? "*" : "");
        }
        lines << QStringLiteral("box %1 \"%2\": %3 [%4]")
                         .arg(QLatin1String(icons.valueToKey(box.icon)), box.title, box.text,
                                 names.join(QLatin1String(", ")));
    }
    for (const QString &filters : watcher.dialogs)
        lines << QStringLiteral("file dialog: ") + filters;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
