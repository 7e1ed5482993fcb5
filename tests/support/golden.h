#pragma once

#include <QByteArray>
#include <QString>

// What a person reads, compared with a reviewed file under tests/golden/. With
// DROVANEL_UPDATE_GOLDEN=1 the file is rewritten instead, so that a deliberate
// change is one run and a diff to review.
namespace golden {

// Empty when text matches the golden file `name`; else which line first differs.
QString mismatch(const QString &name, const QByteArray &text);

} // namespace golden
