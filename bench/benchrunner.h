#pragma once

#include "benchfiles.h"
#include "report.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>
#include <QVector>

#include <functional>

// Runs every measurement on files it generates into a temporary directory and
// reports them. A run that finds the program not doing the measured work (a
// message box, a missing tree row or form, different saved bytes) stops with a
// message: the figures would be meaningless.
class BenchRunner
{
public:
    struct Options
    {
        // One small file and one run of everything: checks that the benchmark
        // still works, says nothing about speed.
        bool quick = false;
        int repeat = 5;
        // Empty for every figure, or one group: "files" (the floors, load,
        // open and save), "select" (selection and AddSubObjectInPart1), "add"
        // (AddNewObject) or "memory".
        QString only;
    };

    static bool isGroup(const QString &name);

    explicit BenchRunner(const Options &options);

    // Returns the process exit code.
    int run();

    // The child process of the memory figure: opens small, then large, through
    // the window, and prints its memory use before and after the large file.
    static int memoryProbe(const QString &small, const QString &large);

private:
    struct SizedFile
    {
        int objects;
        QString path;
        QByteArray bytes;
    };

    SizedFile makeFile(const QString &name, int objects, bool heavy);
    void measureFloorsLoadAndSave(const SizedFile &file);
    void measureSelection(const SizedFile &file);
    void measureAddNewObject(int objects);
    void measureMemory(const SizedFile &small, const SizedFile &large);

    QVector<double> repeatTimed(
            const std::function<void()> &prepare, const std::function<void()> &work);

    Options options;
    QVector<benchfiles::EntryCounts> heavy;
    QTemporaryDir dir;
    QElapsedTimer clock;
    Report report;
};
