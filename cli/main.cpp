#include "resdocument.h"
#include "resjson.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

enum ExitCode {
    AllAccepted = 0,
    Refused = 1,
    WrongCommandLine = 2,
};

void printLine(std::FILE *stream, const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stream);
}

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

// Writes to standard output when jsonPath is empty.
int exportJsonFile(const QString &resPath, const QString &jsonPath)
{
    ResDocument document;
    if (!load(resPath, document))
        return refuse("Cannot read", resPath, document.errorString());
    const QByteArray json = exportJson(document.contents);

    if (jsonPath.isEmpty()) {
        if (std::fwrite(json.constData(), 1, size_t(json.size()), stdout) != size_t(json.size())
                || std::fflush(stdout) != 0)
            return refuse("Cannot write", QStringLiteral("standard output"),
                    QString::fromLocal8Bit(std::strerror(errno)));
        return AllAccepted;
    }
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

int wrongCommandLine(const QString &problem)
{
    std::fputs(qPrintable(QStringLiteral("drovanel-res: %1\n"
                                         "Usage: drovanel-res check FILE...\n"
                                         "       drovanel-res export FILE.res [OUT.json]\n"
                                         "       drovanel-res import FILE.json OUT.res\n"
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
            "Checks RES files, exports them to JSON and builds them back byte for byte.\n\n"
            "Commands:\n"
            "  check FILE...                 One line per file: ok and the number of\n"
            "                                objects, or why the editor refuses it.\n"
            "  export FILE.res [OUT.json]    The file as JSON, to OUT.json or to\n"
            "                                standard output.\n"
            "  import FILE.json OUT.res      Builds OUT.res from the JSON; a refused\n"
            "                                JSON leaves OUT.res as it was.\n\n"
            "Exit status: 0 when every file is accepted, 1 when one is refused, 2 for a\n"
            "wrong command line."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
            QStringLiteral("command"), QStringLiteral("check, export or import."));
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
    if (command == QLatin1String("check") && !files.isEmpty())
        return check(files);
    if (command == QLatin1String("export") && (files.size() == 1 || files.size() == 2))
        return exportJsonFile(files.at(0), files.value(1));
    if (command == QLatin1String("import") && files.size() == 2)
        return importJsonFile(files.at(0), files.at(1));

    if (command.isEmpty())
        return wrongCommandLine(QStringLiteral("Give a command."));
    if (command != QLatin1String("check") && command != QLatin1String("export")
            && command != QLatin1String("import"))
        return wrongCommandLine(QStringLiteral("Unknown command \"%1\".").arg(command));
    return wrongCommandLine(QStringLiteral("Wrong number of files for \"%1\".").arg(command));
}
