#include "drovanel.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTranslator>

#include <cstdio>

namespace {

// Looked up in the working directory; without it the interface shows its
// source texts.
void installTranslation(QCoreApplication &application, QTranslator &translator)
{
    if (translator.load(QStringLiteral("drovanel_zh.qm")))
        application.installTranslator(&translator);
}

// The file named on the command line, or an empty string. Help, the version and
// a wrong command line are answered on the terminal and end the program here:
// this runs without a window system, before any window appears.
QString fileFromCommandLine(int &argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(DROVANEL_VERSION));
    QTranslator translator;
    installTranslation(application, translator);

    QCommandLineParser parser;
    parser.setApplicationDescription(Drovanel::tr("Editor of the game's RES files."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), Drovanel::tr("The RES file to open."),
            QStringLiteral("[file]"));
    parser.process(application);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fputs(qPrintable(Drovanel::tr("Give at most one file.") + QLatin1String("\n\n")
                           + parser.helpText()),
                stderr);
        std::exit(1);
    }
    return files.value(0);
}

} // namespace

int main(int argc, char *argv[])
{
    const QString file = fileFromCommandLine(argc, argv);

    QApplication application(argc, argv);
    QTranslator translator;
    installTranslation(application, translator);

    Drovanel window;
    window.show();
    if (!file.isEmpty())
        window.openFile(file);
    return application.exec();
}
