#pragma once

#include <QAbstractScrollArea>
#include <QMargins>
#include <QSize>
#include <QVector>

#include <functional>

class QScrollBar;

// The scrolled area of the forms of a table's entries, formsPerRow to a row. It
// places the forms where a grid of a form per entry would have them, but it
// builds only the forms in view and a row on each side of them, and as the area
// scrolls it has them show the entries that come into view: an object may have
// a million entries, and building, showing and painting a form for each of a
// few thousand took most of a second. The form that holds the keyboard focus
// keeps its entry, and Tab and Shift+Tab move through the fields of every entry
// in entry order, scrolling the area to the field that takes the focus.
//
// No widget is as large as the grid: Qt caps a widget at 16,777,215 pixels,
// which 409,000 Part1 or 55,000 Part2 entries pass. A scroll bar counts pixels
// while its side of the grid stays within that cap, so that such a table looks
// and scrolls as in a QScrollArea; beyond it, the bar counts rows of forms
// (columns, for forms in one row), which an int counts for any table.
class EntryFormArea : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // Builds a form that shows no entry yet.
    using MakeForm = std::function<QWidget *(QWidget *parent)>;
    // Has form show the entry of that index, or, for -1, write nowhere.
    using ShowEntry = std::function<void(QWidget *form, int entry)>;

    EntryFormArea(int formsPerRow, MakeForm makeForm, ShowEntry showEntry);

    // Shows the first count entries of the table. fromStart scrolls back to the
    // first entries, for another table; else the area stays where it was and
    // the form that holds the focus keeps its entry.
    void showEntries(int count, bool fromStart);
    int entryCount() const { return count; }
    // Leaves every form writing nowhere, before the table may move; the next
    // showEntries shows the entries again.
    void releaseForms();

    // No more room than the scroll bars need, whatever the entries: the
    // window's layout shares out what the object's form leaves.
    QSize sizeHint() const override;

protected:
    bool focusNextPrevChild(bool next) override;
    // Of the viewport, which QAbstractScrollArea passes on.
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // The grid of forms along one side of the area.
    struct Axis
    {
        QScrollBar *bar;
        // The viewport's length.
        int view;
        // Rows, or columns, of forms.
        int lines;
        // Before the first line.
        int margin;
        // Of a form, and from the start of one line to the next.
        int size;
        int pitch;
        // Of the whole grid, margins included.
        qint64 length;
        // The pixels that a step of the bar scrolls.
        int unit;

        qint64 startOf(int line) const { return margin + qint64(line) * pitch; }
        // The pixels of the grid scrolled past.
        qint64 offset() const;
    };

    Axis axis(Qt::Orientation orientation) const;
    void updateScrollBars();
    // Scrolls offset pixels of the grid past the view's start, as far as the
    // bar goes; a bar that counts lines stops at the line that shows what the
    // area scrolls towards.
    void scrollTo(const Axis &axis, qint64 offset);
    // Has the forms show the entries in view, each in its place; keepFocused
    // leaves the form that holds the focus showing its entry.
    void placeForms(bool keepFocused = true);
    // The form that shows entry, built if needed, with the area scrolled to it.
    QWidget *revealEntry(int entry);
    void revealField(QWidget *field);
    int formHolding(const QWidget *widget) const;
    QWidgetList fieldsOf(const QWidget *form) const;
    bool leaveArea(bool next);

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
