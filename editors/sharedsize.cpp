#include "sharedsize.h"

#include <QHash>
#include <QStyle>

QSize sharedSizeHint(const QWidget &widget, const QString &texts, bool minimum,
        const std::function<QSize()> &measure)
{
    static QHash<QString, QSize> sizes;
    const QString key = QLatin1String(widget.metaObject()->className()) + QString::number(minimum)
            + QString::number(quintptr(widget.style()), 16) + widget.font().key() + texts;
    auto size = sizes.constFind(key);
    if (size == sizes.cend())
        size = sizes.insert(key, measure());
    return *size;
}

QSize FieldLabel::sizeHint() const
{
    return sharedSizeHint(*this, text(), false, [this] { return QLabel::sizeHint(); });
}

QSize FieldLabel::minimumSizeHint() const
{
    return sharedSizeHint(*this, text(), true, [this] { return QLabel::minimumSizeHint(); });
}
