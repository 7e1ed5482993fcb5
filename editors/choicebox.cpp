#include "choicebox.h"

#include "sharedsize.h"

#include <QWheelEvent>

#include <algorithm>

ChoiceBox::ChoiceBox()
{
    setFocusPolicy(Qt::StrongFocus);
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, &ChoiceBox::store);
}

void ChoiceBox::setNames(const QMap<int, QString> &names)
{
    addItems(names.values());
    values = names.keys();
    textsKey = names.values().join(QLatin1Char('\n'));
}

void ChoiceBox::showField(qint32 *shown)
{
    field = nullptr;
    if (!shown)
        return;
    const QSignalBlocker blocker(this);
    if (unnamedIndex >= 0) {
        removeItem(unnamedIndex);
        values.removeAt(unnamedIndex);
        unnamedIndex = -1;
    }
    int index = values.indexOf(*shown);
    if (index < 0) {
        index = int(std::lower_bound(values.begin(), values.end(), *shown) - values.begin());
        insertItem(index, QString::number(*shown));
        values.insert(index, *shown);
        unnamedIndex = index;
    }
    setCurrentIndex(index);
    field = shown;
}

void ChoiceBox::store(int index)
{
    if (field && index >= 0)
        *field = values.at(index);
}

QString ChoiceBox::sizeKey() const
{
    return unnamedIndex < 0 ? textsKey : textsKey + QLatin1Char('\n') + itemText(unnamedIndex);
}

QSize ChoiceBox::sizeHint() const
{
    return sharedSizeHint(*this, sizeKey(), false, [this] { return QComboBox::sizeHint(); });
}

QSize ChoiceBox::minimumSizeHint() const
{
    return sharedSizeHint(*this, sizeKey(), true, [this] { return QComboBox::minimumSizeHint(); });
}

void ChoiceBox::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}
