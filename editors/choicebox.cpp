#include "choicebox.h"

#include "sharedsize.h"

#include <QWheelEvent>

ChoiceBox::ChoiceBox()
{
    setFocusPolicy(Qt::StrongFocus);
}

void ChoiceBox::setNames(const QMap<int, QString> &names)
{
    addItems(names.values());
    values = names.keys();
    namesKey = names.values().join(QLatin1Char('\n'));
}

void ChoiceBox::showValue(qint32 value)
{
    setCurrentIndex(qMax(values.indexOf(value), 0));
}

QSize ChoiceBox::sizeHint() const
{
    return sharedSizeHint(*this, namesKey, false, [this] { return QComboBox::sizeHint(); });
}

QSize ChoiceBox::minimumSizeHint() const
{
    return sharedSizeHint(*this, namesKey, true, [this] { return QComboBox::minimumSizeHint(); });
}

void ChoiceBox::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}
