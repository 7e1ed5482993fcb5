#pragma once

#include "resbytes.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// Times what users wait for on a file of up to 32767 objects that it generates,
// and prints each figure as one line: "bench name=open objects=32767 ...
// median_ms=61.2 min_ms=60.1 max_ms=64.0 runs=5". A run that finds the program
// not doing the measured work (a message box, a missing row or form, other
// saved bytes) stops with a message: its figures would mean nothing.
class BenchRunner
{
public:
    static const QStringList groups;

    // Each figure is the median of repeat runs; quick takes a small file, to check
    // that the benchmark works; only is empty for every figure, or one of groups.
    // The cli group runs the drovanel-res at resTool.
    BenchRunner(bool quick, int repeat, const QString &only, const QString &resTool);

    int run();

    // The child process of open_cold, memory and x11: shows a new window, opens
    // path (of objects objects) in it, and prints the time since the process
    // started and its resident size once the window showed, the time the open
    // took, and its /proc/self/status.
    static int memoryProbe(const QString &path, int objects, const QElapsedTimer &sinceStart);

private:
    void measureFiles();
    void measureSelection();
    // An object whose tables pass the pixels Qt allows one widget: selecting it,
    // scrolling each table to its end, and Tab past its last entry.
    void measureManyEntries();
    void measureAddNewObject();
    void measureJson();
    void measureMemory();
    void measureX11();
    // drovanel-res as a modder runs it, a new process each run: its CPU time and
    // peak resident memory for check, export, import, diff and merge of the file,
    // and a merge of objects with a million entries between them.
    void measureCli();
    // Runs the memory probe with these variables added to the environment.
    QString probe(const QStringList &environment) const;

    QVector<double> timed(
            const std::function<void()> &prepare, const std::function<void()> &work) const;

    const bool quick;
    const int repeat;
    const QString only;
    const QString resTool;
    QTemporaryDir dir;
    testres::File file;
    int objects;
    QByteArray bytes;
    QString path;
    QString fileParams;
};
