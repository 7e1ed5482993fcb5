#include "choicebox.h"

#include "sharedsize.h"

#include <QWheelEvent>

ChoiceBox::ChoiceBox()
{
    setFocusPolicy(Qt::StrongFocus);
}

void ChoiceBox::showNames(const QMap<int, QString> &names, qint32 value)
{
    addItems(names.values());
    namesKey = names.values().join(QLatin1Char('\n'));
    const auto name = names.constFind(value);
    if (name != names.cend())
        setCurrentIndex(int(std::distance(names.cbegin(), name)));
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
