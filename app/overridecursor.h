#pragma once

#include <QApplication>

// Shows a cursor over the whole application while it lives: the wait cursor
// while a file is read, written or turned into a tree, and the ordinary one
// again for a message box shown in the middle of such work.
class OverrideCursor
{
public:
    explicit OverrideCursor(Qt::CursorShape shape) { QApplication::setOverrideCursor(shape); }
    ~OverrideCursor() { QApplication::restoreOverrideCursor(); }
    OverrideCursor(const OverrideCursor &) = delete;
    OverrideCursor &operator=(const OverrideCursor &) = delete;
};
