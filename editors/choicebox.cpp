#include "choicebox.h"

#include <QWheelEvent>

ChoiceBox::ChoiceBox()
{
    setFocusPolicy(Qt::StrongFocus);
}

void ChoiceBox::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}
