#include "entryformarea.h"

#include <QApplication>
#include <QGridLayout>
#include <QScrollBar>

namespace {

// What a step of a bar that counts pixels scrolls, and the room that a field
// taking the focus keeps from the edges of the view: a QScrollArea's.
constexpr int PixelStep = 20;
constexpr int FieldMargin = 50;

qint64 divideUp(qint64 dividend, qint64 divisor)
{
    return (dividend + divisor - 1) / divisor;
}

} // namespace

EntryFormArea::EntryFormArea(int formsPerRow, MakeForm makeForm, ShowEntry showEntry)
    : formsPerRow(formsPerRow)
    , makeForm(std::move(makeForm))
    , showEntry(std::move(showEntry))
{
    // The forms stand on the window's colour, as the rest of the panel does.
    viewport()->setBackgroundRole(QPalette::Window);
    // The forms stand as a grid layout of them would place them: a layout of this
    // area's own measures its spacing and margins.
    QWidget probe(viewport());
    QGridLayout grid(&probe);
    spacing = QSize(grid.horizontalSpacing(), grid.verticalSpacing());
    margins = grid.contentsMargins();
}

QSize EntryFormArea::sizeHint() const
{
    return minimumSizeHint();
}

void EntryFormArea::showEntries(int shown, bool fromStart)
{
    // The table may have moved, or be another: every form shows its entry anew.
    released = true;
    count = shown;
    if (count > 0 && cell.isEmpty()) {
        // Measured on a form that shows no entry yet: the widths of a box's names,
        // not of a number it may list beside them.
        forms.append(makeForm(viewport()));
        shownEntries.append(-1);
        forms.first()->hide();
        cell = forms.first()->sizeHint();
    }
    updateScrollBars();
    if (fromStart) {
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
    }
    // No form keeps its entry of another table.
    placeForms(!fromStart);
}

void EntryFormArea::releaseForms()
{
    for (QWidget *form : qAsConst(forms))
        showEntry(form, -1);
    released = true;
}

qint64 EntryFormArea::Axis::offset() const
{
    // The last step of a bar that counts lines shows the end of the grid.
    return qMin(qint64(bar->value()) * unit, qMax(qint64(0), length - view));
}

EntryFormArea::Axis EntryFormArea::axis(Qt::Orientation orientation) const
{
    const bool across = orientation == Qt::Horizontal;
    Axis axis;
    axis.bar = across ? horizontalScrollBar() : verticalScrollBar();
    axis.view = across ? viewport()->width() : viewport()->height();
    axis.lines = across ? qMin(count, formsPerRow) : count ? (count - 1) / formsPerRow + 1 : 0;
    axis.margin = across ? margins.left() : margins.top();
    axis.size = across ? cell.width() : cell.height();
    const int gap = across ? spacing.width() : spacing.height();
    axis.pitch = axis.size + gap;
    axis.length = axis.margin + (across ? margins.right() : margins.bottom())
            + qint64(axis.lines) * axis.pitch - (axis.lines > 0 ? gap : 0);
    axis.unit = axis.length <= QWIDGETSIZE_MAX ? 1 : axis.pitch;
    return axis;
}

void EntryFormArea::updateScrollBars()
{
    // As in a QScrollArea, neither bar shows when the whole grid fits without
    // them.
    const QSize room = maximumViewportSize();
    const Axis across = axis(Qt::Horizontal);
    const Axis down = axis(Qt::Vertical);
    const bool fits = across.length <= room.width() && down.length <= room.height();
    const auto setRange = [](const Axis &side, int view) {
        side.bar->setSingleStep(side.unit == 1 ? PixelStep : 1);
        side.bar->setPageStep(qMax(1, view / side.unit));
        side.bar->setRange(0, int(divideUp(qMax(qint64(0), side.length - view), side.unit)));
    };
    setRange(across, fits ? room.width() : across.view);
    setRange(down, fits ? room.height() : down.view);
}

void EntryFormArea::scrollTo(const Axis &axis, qint64 offset)
{
    // Rounded away from where the area stands, so that what was to come into
    // view at the edge it scrolls towards does.
    const qint64 pixels = qBound(qint64(0), offset, qMax(qint64(0), axis.length - axis.view));
    axis.bar->setValue(
            int(offset < axis.offset() ? pixels / axis.unit : divideUp(pixels, axis.unit)));
}

void EntryFormArea::placeForms(bool keepFocused)
{
    const int focused = keepFocused ? formHolding(QApplication::focusWidget()) : -1;
    const int keptEntry = focused >= 0 ? shownEntries.at(focused) : -1;
    const int kept = keptEntry >= 0 && keptEntry < count ? focused : -1;
    if (kept >= 0 && released)
        showEntry(forms.at(kept), keptEntry);

    // The rows and columns in view, and one more on each side.
    const Axis across = axis(Qt::Horizontal);
    const Axis down = axis(Qt::Vertical);
    const auto span = [](const Axis &side) {
        if (side.lines == 0)
            return qMakePair(0, -1);
        const qint64 first = side.offset() - side.margin;
        const qint64 last = first + side.view - 1;
        return qMakePair(int(qBound(qint64(0), first / side.pitch - 1, qint64(side.lines - 1))),
                int(qBound(qint64(0), last / side.pitch + 1, qint64(side.lines - 1))));
    };
    const auto rows = span(down);
    const auto columns = span(across);
    const auto placeOf = [&](int entry) {
        // The form that holds the focus may be far out of view, where its place
        // would pass an int: it stands beyond the view's edge.
        const auto at = [](const Axis &side, int line) {
            return int(qBound(
                    qint64(-side.size), side.startOf(line) - side.offset(), qint64(side.view)));
        };
        return QRect(at(across, entry % formsPerRow), at(down, entry / formsPerRow), cell.width(),
                cell.height());
    };
    if (kept >= 0)
        forms.at(kept)->setGeometry(placeOf(keptEntry));

    int next = 0;
    for (int row = rows.first; row <= rows.second; ++row) {
        for (int column = columns.first; column <= columns.second; ++column) {
            const int entry = row * formsPerRow + column;
            // The last row may end before its last column.
            if (entry >= count)
                break;
            if (kept >= 0 && entry == keptEntry)
                continue;
            if (next == kept)
                ++next;
            if (next == forms.size()) {
                forms.append(makeForm(viewport()));
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
    // The whole form where it fits, by the rule of QScrollArea::ensureVisible()
    // around its centre, so that Tab scrolls tables that fit a widget as a
    // QScrollArea did.
    for (const Qt::Orientation orientation : { Qt::Horizontal, Qt::Vertical }) {
        const Axis side = axis(orientation);
        const int half = side.size / 2;
        const qint64 centre = side.startOf(orientation == Qt::Horizontal ? entry % formsPerRow
                                                                         : entry / formsPerRow)
                + (side.size - 1) / 2;
        if (centre - half < side.offset())
            scrollTo(side, centre - half);
        else if (centre + half > side.offset() + side.view)
            scrollTo(side, centre + half - side.view);
    }
    placeForms();
    return forms.value(int(shownEntries.indexOf(entry)));
}

void EntryFormArea::revealField(QWidget *field)
{
    // The text cursor of a line edit, else the whole field, with a margin
    // around, by the rule of QScrollArea::ensureWidgetVisible().
    const QRect cursor = field->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QRect shown = cursor != field->QWidget::inputMethodQuery(Qt::ImCursorRectangle).toRect()
            ? QRect(field->mapTo(viewport(), cursor.topLeft()), cursor.size())
            : QRect(field->mapTo(viewport(), QPoint()), field->size());
    if (viewport()->rect().contains(shown))
        return;
    shown.adjust(-FieldMargin, -FieldMargin, FieldMargin, FieldMargin);
    const auto reveal = [this](Qt::Orientation orientation, int first, int last) {
        const Axis side = axis(orientation);
        const qint64 offset = side.offset();
        if (last - first + 1 > side.view)
            scrollTo(side, (offset + first + offset + last) / 2 - side.view / 2);
        else if (last >= side.view)
            scrollTo(side, offset + last + 1 - side.view);
        else if (first < 0)
            scrollTo(side, offset + first);
    };
    reveal(Qt::Horizontal, shown.left(), shown.right());
    reveal(Qt::Vertical, shown.top(), shown.bottom());
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
        return QAbstractScrollArea::focusNextPrevChild(next);
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
    revealField(target);
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

void EntryFormArea::resizeEvent(QResizeEvent *)
{
    updateScrollBars();
    placeForms();
}

void EntryFormArea::scrollContentsBy(int, int)
{
    placeForms();
}
