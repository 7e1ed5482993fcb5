#pragma once

#include "resmerge.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The commands of drovanel-res, each as a modder runs it, returning its exit
// status. Files are named in messages as they were given.
class Commands
{
    Q_DECLARE_TR_FUNCTIONS(ResTool)

public:
    enum ExitCode {
        AllAccepted = 0,
        Refused = 1,
        WrongCommandLine = 2,
    };
    // diff and merge, as diff(1) and git's merge drivers do.
    enum ComparisonExitCode {
        Same = 0,
        Different = 1,
        Trouble = 2,
    };

    static int check(const QStringList &paths);
    // To standard output when jsonPath is empty or "-".
    static int exportJson(const QString &resPath, const QString &jsonPath);
    static int importJson(const QString &jsonPath, const QString &resPath);
    // git's textconv: a file the editor refuses becomes one line that says why,
    // so that one damaged file does not end a whole git diff.
    static int textconv(const QString &path);
    static int diff(const QString &oldPath, const QString &newPath);
    // BASE and two or more mods in their load order (OURS and THEIRS for two).
    // name, when given, names the file being merged in messages, in place of the
    // temporary files that git hands a merge driver.
    static int merge(const QStringList &paths, const QString &outPath, MergePreference preference,
            const QString &name);
    // Every object of the files whose identifier or texts match the pattern;
    // exit status 0 when one did, 1 when none did, 2 when a file could not be
    // read (the others are searched still).
    static int find(const QString &pattern, const QStringList &paths, bool ignoreCase);
};
