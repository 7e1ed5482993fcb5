#include "resdocument.h"
#include "resdiff.h"
#include "resjson.h"
#include "resmerge.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

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

void printLine(std::FILE *stream, const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stream);
}

bool writeStandardOutput(const QByteArray &bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
            && std::fflush(stdout) == 0;
}

int cannotWriteStandardOutput();

// Prints "What FILE: reason." on standard error.
int refuse(const char *what, const QString &path, const QString &reason)
{
    printLine(stderr,
            QStringLiteral("%1 %2: %3")
                    .arg(QLatin1String(what), QDir::toNativeSeparators(path), reason));
    return Refused;
}

// Loads as the editor's Open does, with the same reasons for a refusal.
bool load(const QString &path, ResDocument &document)
{
    return document.setFileName(path) && document.load();
}

int check(const QStringList &paths)
{
    ExitCode result = AllAccepted;
    for (const QString &path : paths) {
        ResDocument document;
        QString verdict;
        if (load(path, document)) {
            const int count = document.contents.objects.size();
            verdict = QStringLiteral("ok, %1 %2")
                              .arg(count)
                              .arg(QLatin1String(count == 1 ? "object" : "objects"));
        } else {
            verdict = document.errorString();
            result = Refused;
        }
        printLine(stdout, QDir::toNativeSeparators(path) + QLatin1String(": ") + verdict);
    }
    return result;
}

int cannotWriteStandardOutput()
{
    return refuse("Cannot write", QStringLiteral("standard output"),
            QString::fromLocal8Bit(std::strerror(errno)));
}

// Writes to standard output when jsonPath is empty or "-".
int exportJsonFile(const QString &resPath, const QString &jsonPath)
{
    ResDocument document;
    if (!load(resPath, document))
        return refuse("Cannot read", resPath, document.errorString());
    const QByteArray json = exportJson(document.contents);

    if (jsonPath.isEmpty() || jsonPath == QLatin1String("-"))
        return writeStandardOutput(json) ? AllAccepted : cannotWriteStandardOutput();
    QSaveFile out(jsonPath);
    // Qt 5's commit() drops an error from flushing its write buffer.
    if (!out.open(QIODevice::WriteOnly) || out.write(json) != json.size() || !out.flush()
            || !out.commit())
        return refuse("Cannot write", jsonPath, out.errorString());
    return AllAccepted;
}

int importJsonFile(const QString &jsonPath, const QString &resPath)
{
    QFile in(jsonPath);
    if (!in.open(QIODevice::ReadOnly))
        return refuse("Cannot read", jsonPath, in.errorString());
    ResDocument document;
    QString reason;
    if (!importJson(in.readAll(), &document.contents, &reason))
        return refuse("Cannot import", jsonPath, reason);
    // save() goes through QSaveFile: a failed write leaves the file as it was.
    if (!document.setFileName(resPath) || !document.save())
        return refuse("Cannot write", resPath, document.errorString());
    return AllAccepted;
}

// git's textconv: a file the editor refuses becomes one line that says why, so
// that one damaged file does not end a whole git diff.
int textconv(const QString &path)
{
    ResDocument document;
    const QByteArray text = load(path, document)
            ? exportJson(document.contents)
            : QStringLiteral("drovanel-res: cannot read %1: %2\n")
                      .arg(QDir::toNativeSeparators(path), document.errorString())
                      .toUtf8();
    return writeStandardOutput(text) ? AllAccepted : cannotWriteStandardOutput();
}

int diff(const QString &oldPath, const QString &newPath)
{
    ResDocument old, changed;
    if (!load(oldPath, old))
        return refuse("Cannot read", oldPath, old.errorString()), Trouble;
    if (!load(newPath, changed))
        return refuse("Cannot read", newPath, changed.errorString()), Trouble;
    const QStringList lines = diffContents(old.contents, changed.contents);
    if (!lines.isEmpty() && !writeStandardOutput((lines.join(QLatin1Char('\n')) + '\n').toUtf8()))
        return cannotWriteStandardOutput(), Trouble;
    return lines.isEmpty() ? Same : Different;
}

int merge(const QStringList &paths, const QString &outPath, MergePreference preference)
{
    ResDocument documents[3];
    for (int i = 0; i < 3; ++i) {
        if (!load(paths[i], documents[i]))
            return refuse("Cannot read", paths[i], documents[i].errorString()), Trouble;
    }
    MergeResult merged = mergeContents(
            documents[0].contents, documents[1].contents, documents[2].contents, preference);
    const QString kind = preference == MergePreference::None ? QStringLiteral("conflict")
            : preference == MergePreference::Ours            ? QStringLiteral("kept ours")
                                                             : QStringLiteral("took theirs");
    for (const QString &conflict : merged.conflicts)
        printLine(stderr, kind + QLatin1String(": ") + conflict);
    // OUT may be OURS, as git gives it; all three are read by now.
    ResDocument out;
    out.contents = std::move(merged.contents);
    if (!out.setFileName(outPath) || !out.save())
        return refuse("Cannot write", outPath, out.errorString()), Trouble;
    return merged.conflicts.isEmpty() || preference != MergePreference::None ? Same : Different;
}

int wrongCommandLine(const QString &problem)
{
    std::fputs(qPrintable(QStringLiteral("drovanel-res: %1\n"
                                         "Usage: drovanel-res check FILE...\n"
                                         "       drovanel-res export FILE.res [OUT.json|-]\n"
                                         "       drovanel-res import FILE.json OUT.res\n"
                                         "       drovanel-res diff OLD.res NEW.res\n"
                                         "       drovanel-res merge BASE.res OURS.res "
                                         "THEIRS.res -o OUT.res [--prefer ours|theirs]\n"
                                         "       drovanel-res textconv FILE.res\n"
                                         "Run drovanel-res --help for more.\n")
                                  .arg(problem)),
            stderr);
    return WrongCommandLine;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("drovanel-res"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DROVANEL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
            "Checks RES files, exports them to JSON and builds them back byte for byte,\n"
            "and compares and merges them object by object.\n\n"
            "Commands:\n"
            "  check FILE...                 One line per file: ok and the number of\n"
            "                                objects, or why the editor refuses it.\n"
            "  export FILE.res [OUT.json|-]  The file as JSON, to OUT.json or to\n"
            "                                standard output.\n"
            "  import FILE.json OUT.res      Builds OUT.res from the JSON; a refused\n"
            "                                JSON leaves OUT.res as it was.\n"
            "  diff OLD.res NEW.res          One line per changed field, added or\n"
            "                                removed object; exit status 0 when the\n"
            "                                two hold the same records, 1 when they\n"
            "                                differ, 2 for trouble.\n"
            "  merge BASE.res OURS.res THEIRS.res -o OUT.res\n"
            "                                Merges the changes that OURS and THEIRS\n"
            "                                made to BASE into OUT, object by object\n"
            "                                and field by field. A conflict keeps\n"
            "                                OURS's value, is listed on standard error\n"
            "                                and gives exit status 1; 2 for trouble.\n"
            "  textconv FILE.res             The export, or one line that says why the\n"
            "                                editor refuses the file; exit 0 either way.\n\n"
            "Exit status otherwise: 0 when every file is accepted, 1 when one is\n"
            "refused, 2 for a wrong command line."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption output(QStringList { QStringLiteral("o"), QStringLiteral("output") },
            QStringLiteral("merge: the file to write the merge to."), QStringLiteral("OUT.res"));
    const QCommandLineOption prefer(QStringLiteral("prefer"),
            QStringLiteral("merge: resolve every conflict with this side's value, and exit 0."),
            QStringLiteral("ours|theirs"));
    parser.addOptions({ output, prefer });
    parser.addPositionalArgument(QStringLiteral("command"),
            QStringLiteral("check, export, import, diff, merge or textconv."));
    parser.addPositionalArgument(QStringLiteral("files"),
            QStringLiteral("The files of the command."), QStringLiteral("FILE..."));

    // process() would end a wrong command line with exit status 1, which here
    // means a refused file.
    if (!parser.parse(application.arguments()))
        return wrongCommandLine(parser.errorText());
    if (parser.isSet(help))
        parser.showHelp();
    if (parser.isSet(version))
        parser.showVersion();

    const QStringList arguments = parser.positionalArguments();
    const QString command = arguments.value(0);
    const QStringList files = arguments.mid(1);
    const bool merging = command == QLatin1String("merge");
    if (!merging && (parser.isSet(output) || parser.isSet(prefer)))
        return wrongCommandLine(QStringLiteral("-o and --prefer belong to merge."));
    MergePreference preference = MergePreference::None;
    if (parser.value(prefer) == QLatin1String("ours"))
        preference = MergePreference::Ours;
    else if (parser.value(prefer) == QLatin1String("theirs"))
        preference = MergePreference::Theirs;
    else if (parser.isSet(prefer))
        return wrongCommandLine(QStringLiteral("--prefer takes ours or theirs."));

    if (command == QLatin1String("check") && !files.isEmpty())
        return check(files);
    if (command == QLatin1String("export") && (files.size() == 1 || files.size() == 2))
        return exportJsonFile(files.at(0), files.value(1));
    if (command == QLatin1String("import") && files.size() == 2)
        return importJsonFile(files.at(0), files.at(1));
    if (command == QLatin1String("diff") && files.size() == 2)
        return diff(files.at(0), files.at(1));
    if (merging && files.size() == 3 && parser.isSet(output))
        return merge(files, parser.value(output), preference);
    if (command == QLatin1String("textconv") && files.size() == 1)
        return textconv(files.at(0));

    const QStringList commands { QStringLiteral("check"), QStringLiteral("export"),
        QStringLiteral("import"), QStringLiteral("diff"), QStringLiteral("merge"),
        QStringLiteral("textconv") };
    if (command.isEmpty())
        return wrongCommandLine(QStringLiteral("Give a command."));
    if (!commands.contains(command))
        return wrongCommandLine(QStringLiteral("Unknown command \"%1\".").arg(command));
    if (merging && !parser.isSet(output))
        return wrongCommandLine(QStringLiteral("merge needs -o OUT.res."));
    return wrongCommandLine(QStringLiteral("Wrong number of files for \"%1\".").arg(command));
}
