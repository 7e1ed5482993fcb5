#include "drovanel.h"
#include "graphics.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace {

// Looked up in the working directory first. Without one there, the installed
// translation is found relative to the executable, so that any prefix works, and
// it is taken for the desktop's language only. Without either, the interface
// shows its source texts.
void installTranslation(QCoreApplication &application, QTranslator &translator)
{
    const QString installed = QCoreApplication::applicationDirPath()
            + QLatin1String("/" DROVANEL_TRANSLATIONS_FROM_BINDIR);
    if (translator.load(QStringLiteral("drovanel_zh.qm"))
            || translator.load(
                    QLocale(), QStringLiteral("drovanel"), QStringLiteral("_"), installed))
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

    skipUnusedOpenGl();
    QApplication application(argc, argv);
    QTranslator translator;
    installTranslation(application, translator);

    Drovanel window;
    window.show();
    if (!file.isEmpty())
        window.openFile(file);
    return application.exec();
}
