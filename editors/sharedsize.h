#pragma once

#include <QLabel>
#include <QSize>

#include <functional>

// The forms of an object with thousands of entries show the same labels and
// names thousands of times, and measuring every text of every widget anew took
// most of the time of building them. Widgets of one kind with the same texts,
// font and style share the size hints measured for the first of them.
QSize sharedSizeHint(const QWidget &widget, const QString &texts, bool minimum,
        const std::function<QSize()> &measure);

// The label of a form's field.
class FieldLabel : public QLabel
{
public:
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};
