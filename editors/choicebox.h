#pragma once

#include <QComboBox>
#include <QMap>

// A combo box of the names of a field's values. It leaves the mouse wheel to the
// scrolling form around it until the user gives it the keyboard focus: scrolling
// over the forms must not change the choices it passes.
class ChoiceBox : public QComboBox
{
public:
    ChoiceBox();

    // Lists the names in ascending order of their values.
    void setNames(const QMap<int, QString> &names);
    // Shows the name of value; a value without a name shows the first name.
    void showValue(qint32 value);
    // The value of the name shown.
    qint32 value() const { return values.value(currentIndex()); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    QList<int> values;
    // Its names, one string: boxes of the same names measure them once.
    QString namesKey;
};
