#pragma once

#include <QByteArray>
#include <QString>

// What drovanel-res prints. Text that comes from a file (a string, a JSON key, a
// name) reaches the terminal as plain text, one record to one line: its control
// characters are escaped as \u001b and \n are in JSON. Every write to standard
// output is checked, so that output lost to a full disk or a closed pipe is a
// failure, not a success.
namespace console {

// The text with its control characters escaped.
QString printable(const QString &text);
// The text between double quotes, with quotes, backslashes and control
// characters escaped, as a JSON string is written.
QString quoted(const QString &text);

// A line on standard output or standard error, in the locale's encoding.
void out(const QString &line);
void error(const QString &line);
// Bytes as they are on standard output.
void outBytes(const QByteArray &bytes);

// Flushes standard output; false when anything written to it was lost, which is
// then said on standard error.
bool finish();

} // namespace console
