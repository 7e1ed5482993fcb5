#include "benchrunner.h"
#include "graphics.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform says this of every window it shows; it would bury the
// figures.
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message != QLatin1String("This plugin does not support propagateSizeHints()"))
        defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    skipUnusedOpenGl();
    defaultHandler = qInstallMessageHandler(quietHandler);
    // The real widgets without a screen, as the tests run them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times what users of Drovanel wait for."));
    parser.addHelpOption();
    const QCommandLineOption quick(QStringLiteral("quick"),
            QStringLiteral("One run on a small file: checks that the benchmark works."));
    const QCommandLineOption repeat(QStringLiteral("repeat"),
            QStringLiteral("Runs per figure, whose median is printed (default 5)."),
            QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption only(QStringLiteral("only"),
            QStringLiteral("One group of figures: %1.").arg(BenchRunner::groups.join(", ")),
            QStringLiteral("group"));
    QCommandLineOption memoryProbe(QStringLiteral("memory-probe"), QStringLiteral("Internal."));
    memoryProbe.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption resTool(QStringLiteral("res-tool"),
            QStringLiteral("The drovanel-res that the cli group runs (default: the one beside "
                           "the benchmark)."),
            QStringLiteral("path"),
            QCoreApplication::applicationDirPath() + QStringLiteral("/drovanel-res"));
    parser.addOptions({ quick, repeat, only, resTool, memoryProbe });
    parser.process(application);

    const QStringList arguments = parser.positionalArguments();
    if (parser.isSet(memoryProbe))
        return BenchRunner::memoryProbe(arguments.value(0), arguments.value(1).toInt(), sinceStart);

    const int runs =
            parser.isSet(quick) && !parser.isSet(repeat) ? 1 : parser.value(repeat).toInt();
    const QString group = parser.value(only);
    if (runs < 1 || (!group.isEmpty() && !BenchRunner::groups.contains(group)))
        parser.showHelp(1);
    return BenchRunner(parser.isSet(quick), runs, group, parser.value(resTool)).run();
}
