#include "commands.h"
#include "console.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <vector>

namespace {

// A command: its name, what it takes, and what it does, as its help says it.
struct Command
{
    const char *name;
    const char *arguments;
    const char *description;
};

const Command CommandHelp[] = {
    { "check", "FILE...",
            QT_TRANSLATE_NOOP("ResTool",
                    "One line per file: ok and the number of objects, or why the editor refuses "
                    "it. Exit status 1 when a file is refused.") },
    { "export", "FILE.res [OUT.json|-]",
            QT_TRANSLATE_NOOP("ResTool", "The file as JSON, to OUT.json or to standard output.") },
    { "import", "FILE.json OUT.res",
            QT_TRANSLATE_NOOP("ResTool",
                    "Builds OUT.res from the JSON; a refused JSON leaves OUT.res as it was.") },
    { "diff", "OLD.res NEW.res",
            QT_TRANSLATE_NOOP("ResTool",
                    "One line per changed field, added or removed object; exit status 0 when "
                    "the two hold the same records, 1 when they differ, 2 for trouble.") },
    { "merge", "BASE.res MOD.res MOD.res... -o OUT.res [--prefer first|last] [--name PATH]",
            QT_TRANSLATE_NOOP("ResTool",
                    "Merges the changes that the mods made to BASE into OUT, in the order given "
                    "(the load order; OURS and THEIRS for two), object by object and field by "
                    "field. A conflict keeps the first mod's value, is listed on standard error "
                    "and gives exit status 1; 2 for trouble. --prefer first or last (ours or "
                    "theirs) settles every conflict so, and exits 0.") },
    { "find", "PATTERN FILE... [-i]",
            QT_TRANSLATE_NOOP("ResTool",
                    "Every object whose identifier or text matches the regular expression, one "
                    "line a match; a simplified pattern finds traditional text and the "
                    "reverse, and -i ignores the case of Latin letters. Exit status 0 when "
                    "something matched, 1 when nothing did, 2 when a file could not be read.") },
    { "textconv", "FILE.res",
            QT_TRANSLATE_NOOP("ResTool",
                    "The export, or one line that says why the editor refuses the file; exit "
                    "status 0 unless the output cannot be written.") },
};

const Command *commandNamed(const QString &name)
{
    for (const Command &command : CommandHelp) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

// The context of the texts of drovanel-res.
class ResTool
{
    Q_DECLARE_TR_FUNCTIONS(ResTool)
};

// The description's lines, at most width characters long, each indented so.
QString wrapped(const QString &text, int indent, int width)
{
    QString result, line;
    for (const QString &word : text.split(QLatin1Char(' '))) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            result += QString(indent, QLatin1Char(' ')) + line + QLatin1Char('\n');
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return result + QString(indent, QLatin1Char(' ')) + line + QLatin1Char('\n');
}

QString commandUsage(const Command &command)
{
    return QStringLiteral("drovanel-res %1 %2")
            .arg(QLatin1String(command.name), QLatin1String(command.arguments));
}

int wrongCommandLine(const QString &problem)
{
    QString usage = QStringLiteral("drovanel-res: %1\n").arg(problem);
    for (const Command &command : CommandHelp) {
        usage += (&command == CommandHelp ? ResTool::tr("Usage: ") : QStringLiteral("       "))
                + commandUsage(command) + QLatin1Char('\n');
    }
    console::error(usage + ResTool::tr("Run drovanel-res --help for more."));
    return Commands::WrongCommandLine;
}

// Found relative to the executable, as the editor's is, for the locale's
// language: installed in share/drovanel/translations, or beside it in the build.
void installTranslation(QCoreApplication &application, QTranslator &translator)
{
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString &folder :
            { here + QLatin1String("/" DROVANEL_TRANSLATIONS_FROM_BINDIR), here }) {
        if (translator.load(QLocale(), QStringLiteral("drovanel"), QStringLiteral("_"), folder)) {
            application.installTranslator(&translator);
            return;
        }
    }
}

// A name that the system's encoding of file names cannot give back as the bytes
// given would name another file; its bytes, or an empty array.
QByteArray unrepresentableName(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray given(argv[i]);
        if (QFile::encodeName(QFile::decodeName(given)) != given)
            return given;
    }
    return QByteArray();
}

// The options of drovanel-res, which the parser is set up with.
struct Options
{
    QCommandLineOption help, version, output, prefer, name, ignoreCase;
};

// The general help: what the program does, its commands, its exit status.
QString description()
{
    QString text = wrapped(ResTool::tr("Checks RES files, exports them to JSON and builds them "
                                       "back byte for byte, and compares and merges them object "
                                       "by object."),
                           0, 78)
            + QLatin1Char('\n') + ResTool::tr("Commands:") + QLatin1Char('\n');
    for (const Command &command : CommandHelp) {
        text += QStringLiteral("  %1 %2\n")
                        .arg(QLatin1String(command.name), QLatin1String(command.arguments));
        text += wrapped(ResTool::tr(command.description), 6, 72);
    }
    return text + QLatin1Char('\n')
            + wrapped(ResTool::tr("Exit status otherwise: 0 when every file is accepted, 1 when "
                                  "one is refused, 2 for a wrong command line."),
                    0, 78)
                      .chopped(1);
}

Options setUp(QCommandLineParser &parser)
{
    parser.setApplicationDescription(description());
    Options options { parser.addHelpOption(), parser.addVersionOption(),
        { { QStringLiteral("o"), QStringLiteral("output") },
                ResTool::tr("merge: the file to write the merge to."), QStringLiteral("OUT.res") },
        { QStringLiteral("prefer"),
                ResTool::tr("merge: resolve every conflict with the first or the last mod's "
                            "value, and exit 0."),
                QStringLiteral("first|last") },
        { QStringLiteral("name"),
                ResTool::tr("merge: the name of the file being merged, for messages (git's %P)."),
                QStringLiteral("PATH") },
        { { QStringLiteral("i"), QStringLiteral("ignore-case") },
                ResTool::tr("find: ignore the case of Latin letters.") } };
    parser.addOptions({ options.output, options.prefer, options.name, options.ignoreCase });
    parser.addPositionalArgument(QStringLiteral("command"),
            ResTool::tr("check, export, import, diff, merge, find or textconv."));
    parser.addPositionalArgument(QStringLiteral("files"), ResTool::tr("The files of the command."),
            QStringLiteral("FILE..."));
    return options;
}

// The bytes, those beyond ASCII as \xff.
QString shownBytes(const QByteArray &bytes)
{
    QString shown;
    for (const char byte : bytes) {
        shown += uchar(byte) < 0x80
                ? QString(QLatin1Char(byte))
                : QStringLiteral("\\x%1").arg(uchar(byte), 2, 16, QLatin1Char('0'));
    }
    return console::printable(shown);
}

// Runs the command that the parsed command line names.
int run(const QCommandLineParser &parser, const Options &options)
{
    const QStringList positional = parser.positionalArguments();
    const QString command = positional.value(0);
    const QStringList files = positional.mid(1);
    const bool merging = command == QLatin1String("merge");
    if (!merging
            && (parser.isSet(options.output) || parser.isSet(options.prefer)
                    || parser.isSet(options.name)))
        return wrongCommandLine(ResTool::tr("-o, --prefer and --name belong to merge."));
    if (command != QLatin1String("find") && parser.isSet(options.ignoreCase))
        return wrongCommandLine(ResTool::tr("-i belongs to find."));
    MergePreference preference = MergePreference::None;
    const QString preferred = parser.value(options.prefer);
    if (preferred == QLatin1String("first") || preferred == QLatin1String("ours"))
        preference = MergePreference::Ours;
    else if (preferred == QLatin1String("last") || preferred == QLatin1String("theirs"))
        preference = MergePreference::Theirs;
    else if (parser.isSet(options.prefer))
        return wrongCommandLine(ResTool::tr("--prefer takes first or last (ours or theirs)."));

    if (command == QLatin1String("check") && !files.isEmpty())
        return Commands::check(files);
    if (command == QLatin1String("export") && (files.size() == 1 || files.size() == 2))
        return Commands::exportJson(files.at(0), files.value(1));
    if (command == QLatin1String("import") && files.size() == 2)
        return Commands::importJson(files.at(0), files.at(1));
    if (command == QLatin1String("diff") && files.size() == 2)
        return Commands::diff(files.at(0), files.at(1));
    if (merging && files.size() >= 3 && parser.isSet(options.output)) {
        return Commands::merge(
                files, parser.value(options.output), preference, parser.value(options.name));
    }
    if (command == QLatin1String("textconv") && files.size() == 1)
        return Commands::textconv(files.at(0));
    if (command == QLatin1String("find") && files.size() >= 2)
        return Commands::find(files.first(), files.mid(1), parser.isSet(options.ignoreCase));

    if (command.isEmpty())
        return wrongCommandLine(ResTool::tr("Give a command."));
    if (!commandNamed(command)) {
        return wrongCommandLine(
                ResTool::tr("Unknown command \"%1\".").arg(console::printable(command)));
    }
    if (merging && !parser.isSet(options.output))
        return wrongCommandLine(ResTool::tr("merge needs -o OUT.res."));
    return wrongCommandLine(ResTool::tr("Wrong number of files for \"%1\".").arg(command));
}

} // namespace

int main(int argc, char *argv[])
{
    // The usage line names the program, not the path it was started by.
    std::vector<char *> arguments(argv, argv + argc);
    QByteArray programName = QFileInfo(QFile::decodeName(argv[0])).fileName().toLocal8Bit();
    arguments[0] = programName.data();
    QCoreApplication application(argc, arguments.data());
    QCoreApplication::setApplicationName(QStringLiteral("drovanel-res"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DROVANEL_VERSION));
    QTranslator translator;
    installTranslation(application, translator);

    QCommandLineParser parser;
    const Options options = setUp(parser);
    // process() would end a wrong command line with exit status 1, which here
    // means a refused file.
    if (!parser.parse(application.arguments()))
        return wrongCommandLine(console::printable(parser.errorText()));
    const Command *command = commandNamed(parser.positionalArguments().value(0));
    if (parser.isSet(options.help) || parser.isSet(QStringLiteral("help-all"))) {
        if (!command)
            parser.showHelp();
        console::out(ResTool::tr("Usage: ") + commandUsage(*command) + QLatin1Char('\n')
                + wrapped(ResTool::tr(command->description), 0, 78).chopped(1));
        return console::finish() ? Commands::AllAccepted : Commands::Refused;
    }
    if (parser.isSet(options.version))
        parser.showVersion();
    const QByteArray unrepresentable = unrepresentableName(argc, argv);
    if (!unrepresentable.isEmpty()) {
        return wrongCommandLine(ResTool::tr("the name \"%1\" cannot be represented in the "
                                            "system's encoding of file names.")
                                        .arg(shownBytes(unrepresentable)));
    }
    return run(parser, options);
}
