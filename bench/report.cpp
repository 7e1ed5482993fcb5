#include "report.h"

#include <algorithm>

namespace {

QString ms(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1);
}

} // namespace

double Report::addTiming(
        const QString &name, const QString &label, const Fields &params, QVector<double> samplesMs)
{
    std::sort(samplesMs.begin(), samplesMs.end());
    const int n = samplesMs.size();
    const double median =
            n % 2 ? samplesMs.at(n / 2) : (samplesMs.at(n / 2 - 1) + samplesMs.at(n / 2)) / 2;
    Fields fields = params;
    fields.append({ QStringLiteral("median_ms"), QString::number(median, 'f', 3) });
    fields.append({ QStringLiteral("min_ms"), QString::number(samplesMs.first(), 'f', 3) });
    fields.append({ QStringLiteral("max_ms"), QString::number(samplesMs.last(), 'f', 3) });
    fields.append({ QStringLiteral("runs"), QString::number(n) });
    printLine(name, fields);
    rows.append({ name, label, ms(median),
            n > 1 ? QStringLiteral("%1 - %2").arg(ms(samplesMs.first()), ms(samplesMs.last()))
                  : QString() });
    return median;
}

void Report::addValue(const QString &name, const QString &label, const Fields &params,
        const Fields &values, const QString &value, const QString &note)
{
    printLine(name, params + values);
    rows.append({ name, label, value, note });
}

void Report::printLine(const QString &name, const Fields &fields)
{
    QString line = QStringLiteral("bench name=") + name;
    for (const auto &field : fields)
        line += QLatin1Char(' ') + field.first + QLatin1Char('=') + field.second;
    std::fprintf(out, "%s\n", qPrintable(line));
    std::fflush(out);
}

void Report::printTable() const
{
    int nameWidth = 6;
    int labelWidth = 4;
    int valueWidth = 6;
    for (const Row &row : rows) {
        nameWidth = std::max(nameWidth, row.name.size());
        labelWidth = std::max(labelWidth, row.label.size());
        valueWidth = std::max(valueWidth, row.value.size());
    }
    auto print = [&](const QString &name, const QString &label, const QString &value,
                         const QString &note) {
        const QString line = name.leftJustified(nameWidth) + QStringLiteral("  ")
                + label.leftJustified(labelWidth) + QStringLiteral("  ")
                + value.rightJustified(valueWidth) + QStringLiteral("  ") + note;
        std::fprintf(out, "%s\n", qPrintable(line.trimmed()));
    };
    std::fprintf(out, "\n");
    print(QStringLiteral("figure"), QStringLiteral("case"), QStringLiteral("median ms"),
            QStringLiteral("fastest - slowest ms, or what the value is"));
    for (const Row &row : rows)
        print(row.name, row.label, row.value, row.note);
    std::fflush(out);
}
