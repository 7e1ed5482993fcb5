#include "entryformarea.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>

EntryFormArea::EntryFormArea(
        QScrollArea &scroll, int formsPerRow, MakeForm makeForm, ShowEntry showEntry)
    : scroll(scroll)
    , formsPerRow(formsPerRow)
    , makeForm(std::move(makeForm))
    , showEntry(std::move(showEntry))
{
    scroll.setWidget(this);
    scroll.viewport()->installEventFilter(this);
    // The forms stand as a grid layout of them would place them: a layout of this
    // area's own measures its spacing and margins.
    QWidget probe(this);
    QGridLayout grid(&probe);
    spacing = QSize(grid.horizontalSpacing(), grid.verticalSpacing());
    margins = grid.contentsMargins();
}

void EntryFormArea::showEntries(int shown, bool fromStart)
{
    // The table may have moved, or be another: every form shows its entry anew.
    released = true;
    count = shown;
    if (count > 0 && cell.isEmpty()) {
        // Measured on a form that shows no entry yet: the widths of a box's names,
        // not of a number it may list beside them.
        forms.append(makeForm(this));
        shownEntries.append(-1);
        forms.first()->hide();
        cell = forms.first()->sizeHint();
    }
    const int columns = qMin(count, formsPerRow);
    const int rows = count ? (count - 1) / formsPerRow + 1 : 0;
    resize(margins.left() + margins.right() + columns * cell.width()
                    + qMax(columns - 1, 0) * spacing.width(),
            margins.top() + margins.bottom() + rows * cell.height()
                    + qMax(rows - 1, 0) * spacing.height());
    if (fromStart)
        scroll.ensureVisible(0, 0, 0, 0);
    // No form keeps its entry of another table.
    placeForms(!fromStart);
}

void EntryFormArea::releaseForms()
{
    for (QWidget *form : qAsConst(forms))
        showEntry(form, -1);
    released = true;
}

QRect EntryFormArea::placeOf(int entry) const
{
    return QRect(margins.left() + entry % formsPerRow * (cell.width() + spacing.width()),
            margins.top() + entry / formsPerRow * (cell.height() + spacing.height()), cell.width(),
            cell.height());
}

void EntryFormArea::placeForms(bool keepFocused)
{
    const int focused = keepFocused ? formHolding(QApplication::focusWidget()) : -1;
    const int keptEntry = focused >= 0 ? shownEntries.at(focused) : -1;
    const int kept = keptEntry >= 0 && keptEntry < count ? focused : -1;
    if (kept >= 0 && released)
        showEntry(forms.at(kept), keptEntry);

    // The rows and columns in view, and one more on each side.
    const QRect view(-pos(), scroll.viewport()->size());
    const int pitchX = cell.width() + spacing.width();
    const int pitchY = cell.height() + spacing.height();
    const int lastRow = count ? (count - 1) / formsPerRow : -1;
    const int lastColumn = qMin(count, formsPerRow) - 1;
    const auto span = [](int from, int to, int start, int pitch, int last) {
        return pitch > 0 ? qMakePair(qBound(0, (from - start) / pitch - 1, last),
                       qBound(0, (to - start) / pitch + 1, last))
                         : qMakePair(0, -1);
    };
    const auto rows = span(view.top(), view.bottom(), margins.top(), pitchY, lastRow);
    const auto columns = span(view.left(), view.right(), margins.left(), pitchX, lastColumn);

    int next = 0;
    for (int row = rows.first; row <= rows.second; ++row) {
        for (int column = columns.first; column <= columns.second; ++column) {
            const int entry = row * formsPerRow + column;
            if (entry >= count || (kept >= 0 && entry == keptEntry))
                continue;
            if (next == kept)
                ++next;
            if (next == forms.size()) {
                forms.append(makeForm(this));
                shownEntries.append(-1);
            }
            QWidget *form = forms.at(next);
            if (released || shownEntries.at(next) != entry) {
                showEntry(form, entry);
                shownEntries[next] = entry;
            }
            form->setGeometry(placeOf(entry));
            form->show();
            ++next;
        }
    }
    for (int i = next; i < forms.size(); ++i) {
        if (i == kept)
            continue;
        if (released || shownEntries.at(i) >= 0) {
            showEntry(forms.at(i), -1);
            shownEntries[i] = -1;
        }
        forms.at(i)->hide();
    }
    released = false;
}

QWidget *EntryFormArea::revealEntry(int entry)
{
    const QRect place = placeOf(entry);
    scroll.ensureVisible(
            place.center().x(), place.center().y(), place.width() / 2, place.height() / 2);
    placeForms();
    return forms.value(int(shownEntries.indexOf(entry)));
}

int EntryFormArea::formHolding(const QWidget *widget) const
{
    for (int i = 0; widget && i < forms.size(); ++i) {
        if (forms.at(i)->isAncestorOf(widget))
            return i;
    }
    return -1;
}

QWidgetList EntryFormArea::fieldsOf(const QWidget *form) const
{
    QWidgetList fields;
    for (QWidget *child : form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if ((child->focusPolicy() & Qt::TabFocus) && child->isEnabled())
            fields.append(child);
    }
    return fields;
}

bool EntryFormArea::focusNextPrevChild(bool next)
{
    QWidget *focus = QApplication::focusWidget();
    const int at = formHolding(focus);
    if (at < 0)
        return QWidget::focusNextPrevChild(next);
    QWidget *field = focus;
    while (field->parentWidget() != forms.at(at))
        field = field->parentWidget();
    int entry = shownEntries.at(at);
    const QWidgetList fieldsHere = fieldsOf(forms.at(at));
    int index = int(fieldsHere.indexOf(field)) + (next ? 1 : -1);
    if (index < 0 || index >= fieldsHere.size()) {
        entry += next ? 1 : -1;
        if (entry < 0 || entry >= count)
            return leaveArea(next);
        index = next ? 0 : -1;
    }
    QWidget *form = revealEntry(entry);
    if (!form)
        return false;
    const QWidgetList fields = fieldsOf(form);
    QWidget *target = index < 0 ? fields.last() : fields.at(index);
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    scroll.ensureWidgetVisible(target);
    return true;
}

bool EntryFormArea::leaveArea(bool next)
{
    QWidget *from = QApplication::focusWidget();
    for (QWidget *widget = next ? from->nextInFocusChain() : from->previousInFocusChain();
            widget != from;
            widget = next ? widget->nextInFocusChain() : widget->previousInFocusChain()) {
        if (!isAncestorOf(widget) && widget->window() == window()
                && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy()
                && widget->isVisible() && widget->isEnabled()) {
            widget->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void EntryFormArea::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    placeForms();
}

bool EntryFormArea::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        placeForms();
    return QWidget::eventFilter(watched, event);
}
