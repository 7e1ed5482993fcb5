#include "benchrunner.h"

#include <QApplication>
#include <QCommandLineParser>

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
    defaultHandler = qInstallMessageHandler(quietHandler);
    // The real widgets, without a screen: the figures then do not depend on a
    // desktop, and the benchmark runs where the tests run.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
            "Times opening, saving, selecting and adding on generated RES files of up to "
            "32767 objects."));
    parser.addHelpOption();
    const QCommandLineOption quick(QStringLiteral("quick"),
            QStringLiteral("One run on one small file: checks that the benchmark works."));
    const QCommandLineOption repeat(QStringLiteral("repeat"),
            QStringLiteral("Runs per figure (default 5, 1 with --quick)."), QStringLiteral("N"));
    const QCommandLineOption only(QStringLiteral("only"),
            QStringLiteral("Only one group of figures: files, select, add or memory."),
            QStringLiteral("group"));
    QCommandLineOption memoryProbe(QStringLiteral("memory-probe"),
            QStringLiteral("Internal: the child process of the memory figure."));
    memoryProbe.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({ quick, repeat, only, memoryProbe });
    parser.process(application);

    if (parser.isSet(memoryProbe)) {
        const QStringList files = parser.positionalArguments();
        if (files.size() != 2)
            parser.showHelp(1);
        return BenchRunner::memoryProbe(files.at(0), files.at(1));
    }

    BenchRunner::Options options;
    options.quick = parser.isSet(quick);
    options.repeat = options.quick ? 1 : 5;
    if (parser.isSet(repeat)) {
        bool ok = false;
        options.repeat = parser.value(repeat).toInt(&ok);
        if (!ok || options.repeat < 1 || options.repeat > 1000)
            parser.showHelp(1);
    }
    options.only = parser.value(only);
    if (!options.only.isEmpty() && !BenchRunner::isGroup(options.only))
        parser.showHelp(1);
    return BenchRunner(options).run();
}
