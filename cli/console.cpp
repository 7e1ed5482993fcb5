#include "console.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace console {

namespace {

// The first error that a write to standard output met, or 0.
int outputError = 0;

bool isControl(char16_t unit)
{
    // C0 and C1 controls, DEL, and the line and paragraph separators, which
    // break a line as a newline does.
    return unit < 0x20 || (unit >= 0x7F && unit < 0xA0) || unit == 0x2028 || unit == 0x2029;
}

QString escaped(const QString &text, bool inQuotes)
{
    QString result;
    result.reserve(text.size());
    for (const QChar character : text) {
        const char16_t unit = character.unicode();
        if (inQuotes && (unit == '"' || unit == '\\')) {
            result += QLatin1Char('\\');
            result += character;
        } else if (unit == '\n') {
            result += QLatin1String("\\n");
        } else if (unit == '\t') {
            result += QLatin1String("\\t");
        } else if (isControl(unit)) {
            result += QStringLiteral("\\u%1").arg(uint(unit), 4, 16, QLatin1Char('0'));
        } else {
            result += character;
        }
    }
    return result;
}

void write(std::FILE *stream, const QByteArray &bytes)
{
    const bool written =
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    if (!written && stream == stdout && !outputError)
        outputError = errno ? errno : EIO;
}

} // namespace

QString printable(const QString &text)
{
    return escaped(text, false);
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + escaped(text, true) + QLatin1Char('"');
}

void out(const QString &line)
{
    write(stdout, (line + QLatin1Char('\n')).toLocal8Bit());
}

void error(const QString &line)
{
    write(stderr, (line + QLatin1Char('\n')).toLocal8Bit());
}

void outBytes(const QByteArray &bytes)
{
    write(stdout, bytes);
}

bool finish()
{
    if (std::fflush(stdout) != 0 && !outputError)
        outputError = errno ? errno : EIO;
    if (!outputError)
        return true;
    error(QCoreApplication::translate("ResTool", "Cannot write standard output: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(outputError))));
    return false;
}

} // namespace console
