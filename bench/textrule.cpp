// Measures how many stored names the text rule shows as they were written, on a
// corpus made by scripts/make-text-corpus.py: one line per stored name, its
// class, the name and its bytes in hex. Prints one figure per class and one for
// all, and with --misread every name shown otherwise.

#include "recordtext.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const bool listMisread = arguments.contains(QStringLiteral("--misread"));
    QFile corpus(arguments.value(1));
    if (arguments.size() < 2 || !corpus.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "usage: drovanel_textrule CORPUS [--misread]\n");
        return 2;
    }

    struct Tally
    {
        int names = 0;
        int readBack = 0;
    };
    QMap<QString, Tally> tallies;
    Tally all;
    while (!corpus.atEnd()) {
        const QStringList fields = QString::fromUtf8(corpus.readLine()).trimmed().split('\t');
        if (fields.size() != 3)
            continue;
        const QString shown = decodeRecordText(QByteArray::fromHex(fields.at(2).toLatin1()));
        const bool right = shown == fields.at(1);
        for (Tally *tally : { &tallies[fields.at(0)], &all }) {
            ++tally->names;
            tally->readBack += right;
        }
        if (!right && listMisread) {
            std::printf("misread %s %s as %s\n", qPrintable(fields.at(0)), qPrintable(fields.at(1)),
                    qPrintable(shown));
        }
    }
    tallies.insert(QStringLiteral("all"), all);
    for (auto it = tallies.cbegin(); it != tallies.cend(); ++it) {
        std::printf("bench name=text_rule class=%s names=%d read_back=%d percent=%.2f\n",
                qPrintable(it.key()), it->names, it->readBack,
                it->names ? 100.0 * it->readBack / it->names : 0.0);
    }
    return 0;
}
