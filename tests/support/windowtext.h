#pragma once

#include "modalwatcher.h"

#include <QString>

class QWidget;

// Everything a window shows as text, one thing a line, in a stable order: its
// title, each menu with its actions, the tree's header and the rows in view
// (expanded "-", collapsed "+"), each form shown with its labels and values in
// grid order (forms of entries by their place in their group, a list's choice
// with its position among the choices), an open list's choices, and then the
// boxes and file dialogs that the watcher answered.
QString describeWindow(const QWidget &window, const ModalWatcher &watcher);
