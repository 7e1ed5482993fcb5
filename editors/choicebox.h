#pragma once

#include <QComboBox>

// A combo box that leaves the mouse wheel to the scrolling form around it until
// the user gives it the keyboard focus: scrolling over the forms must not
// change the choices it passes.
class ChoiceBox : public QComboBox
{
public:
    ChoiceBox();

protected:
    void wheelEvent(QWheelEvent *event) override;
};
