#pragma once

#include <QComboBox>
#include <QMap>

// A combo box of the names of a field's values, which writes the value of the
// name chosen into the field it shows. A value without a name is listed as its
// number, among the names in the order of the values, so that the box shows
// what the field holds. It leaves the mouse wheel to the scrolling form around
// it until the user gives it the keyboard focus: scrolling over the forms must
// not change the choices it passes.
class ChoiceBox : public QComboBox
{
public:
    ChoiceBox();

    // Lists the names in ascending order of their values.
    void setNames(const QMap<int, QString> &names);
    // Shows the value of field and writes every choice into it from now on;
    // showing writes nothing. A null field leaves the box showing what it showed
    // and writing nowhere.
    void showField(qint32 *field);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    void store(int index);
    QString sizeKey() const;

    QList<int> values;
    // The index of the entry listing a value without a name, or -1.
    int unnamedIndex = -1;
    qint32 *field = nullptr;
    // Its texts, one string: boxes of the same texts measure them once.
    QString textsKey;
};
