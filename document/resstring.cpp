#include "resstring.h"

#include <QCoreApplication>

#include <cstring>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("ResDocument", text);
}

} // namespace

QString stringLengthFault(const char *name, qint64 length)
{
    if (length >= ResStringMinLength && length <= ResStringMaxLength)
        return QString();
    return translated(QT_TRANSLATE_NOOP("ResDocument", "%1 length %2 is outside %3 to %4."))
            .arg(QLatin1String(name))
            .arg(length)
            .arg(ResStringMinLength)
            .arg(ResStringMaxLength);
}

QString storedStringFault(const char *name, const char *stored, qint64 size)
{
    const QString fault = stringLengthFault(name, size);
    if (!fault.isEmpty() || std::memchr(stored, '\0', size_t(size)))
        return fault;
    return translated(QT_TRANSLATE_NOOP("ResDocument", "%1 has no zero byte within its %2."))
            .arg(QLatin1String(name), byteCount(size));
}

void setStoredBytes(ResString &string, const char *stored, qint64 size)
{
    Q_ASSERT(storedStringFault("", stored, size).isEmpty());
    string.Length = qint32(size);
    std::memcpy(string.Text, stored, size_t(size));
}

void setStoredText(ResString &string, const QByteArray &text)
{
    Q_ASSERT(text.size() <= ResStringMaxTextBytes);
    std::memcpy(string.Text, text.constData(), size_t(text.size()));
    string.Text[text.size()] = '\0';
    string.Length = text.size() + 1;
}

QString byteCount(qint64 count)
{
    return count == 1 ? translated(QT_TRANSLATE_NOOP("ResDocument", "1 byte"))
                      : translated(QT_TRANSLATE_NOOP("ResDocument", "%1 bytes")).arg(count);
}

bool sameString(const ResString &a, const ResString &b)
{
    return a.Length == b.Length && std::memcmp(a.Text, b.Text, size_t(a.Length)) == 0;
}
