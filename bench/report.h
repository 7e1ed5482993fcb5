#pragma once

#include <QPair>
#include <QString>
#include <QVector>

#include <cstdio>

// Collects the figures of one run: each is printed at once as one machine-read
// line ("bench name=open objects=32767 median_ms=123.4 ..."), and all of them
// again at the end as one table for people.
class Report
{
public:
    using Fields = QVector<QPair<QString, QString>>;

    explicit Report(FILE *out)
        : out(out)
    {
    }

    // A timed figure: the median, fastest and slowest of the samples, in ms.
    // Returns the median.
    double addTiming(const QString &name, const QString &label, const Fields &params,
            QVector<double> samplesMs);
    // A figure that is not a sampled time: the fields are printed as they are;
    // the table shows value and note.
    void addValue(const QString &name, const QString &label, const Fields &params,
            const Fields &values, const QString &value, const QString &note);
    void printTable() const;

private:
    struct Row
    {
        QString name;
        QString label;
        QString value;
        QString note;
    };

    void printLine(const QString &name, const Fields &fields);

    FILE *out;
    QVector<Row> rows;
};
