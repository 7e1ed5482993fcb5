#include "drovanel.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);

    // Looked up in the working directory; without it the interface shows its
    // source texts.
    QTranslator translator;
    if (translator.load(QStringLiteral("drovanel_zh.qm")))
        application.installTranslator(&translator);

    Drovanel window;
    window.show();
    return application.exec();
}
