#pragma once

#include <QMargins>
#include <QScrollArea>
#include <QSize>
#include <QVector>
#include <QWidget>

#include <functional>

// The scrolled area of the forms of a table's entries, formsPerRow to a row.
// It is as large as a grid of a form per entry would be, but it builds only the
// forms in view and a row on each side of them, and as the area scrolls it has
// them show the entries that come into view: an object may have thousands of
// entries, and building, showing and painting a form for each took most of a
// second. The form that holds the keyboard focus keeps its entry, and Tab and
// Shift+Tab move through the fields of every entry in entry order, scrolling
// the area to the field that takes the focus.
class EntryFormArea : public QWidget
{
    Q_OBJECT

public:
    // Builds a form that shows no entry yet.
    using MakeForm = std::function<QWidget *(QWidget *parent)>;
    // Has form show the entry of that index, or, for -1, write nowhere.
    using ShowEntry = std::function<void(QWidget *form, int entry)>;

    EntryFormArea(QScrollArea &scroll, int formsPerRow, MakeForm makeForm, ShowEntry showEntry);

    // Shows the first count entries of the table. fromStart scrolls back to the
    // first entries, for another table; else the area stays where it was and
    // the form that holds the focus keeps its entry.
    void showEntries(int count, bool fromStart);
    int entryCount() const { return count; }
    // Leaves every form writing nowhere, before the table may move; the next
    // showEntries shows the entries again.
    void releaseForms();

protected:
    bool focusNextPrevChild(bool next) override;
    // Scrolling moves the area within the viewport.
    void moveEvent(QMoveEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Has the forms show the entries in view, each in its place; keepFocused
    // leaves the form that holds the focus showing its entry.
    void placeForms(bool keepFocused = true);
    QRect placeOf(int entry) const;
    // The form that shows entry, built if needed, with the area scrolled to it.
    QWidget *revealEntry(int entry);
    int formHolding(const QWidget *widget) const;
    QWidgetList fieldsOf(const QWidget *form) const;
    bool leaveArea(bool next);

    QScrollArea &scroll;
    const int formsPerRow;
    const MakeForm makeForm;
    const ShowEntry showEntry;
    int count = 0;
    // The forms built so far and the entry each shows, or -1.
    QVector<QWidget *> forms;
    QVector<int> shownEntries;
    // Set once the forms write nowhere: each must show its entry anew.
    bool released = false;
    // Of a grid of forms: the size of each, and the grid's spacing and margins.
    QSize cell;
    QSize spacing;
    QMargins margins;
};
