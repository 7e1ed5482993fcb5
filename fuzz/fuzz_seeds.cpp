// Writes the fuzzer's seed corpus into the directory given as the argument:
// files from the tests' own generator, small enough for the fuzzer to mutate
// quickly, and a few edge cases of the layout.

#include "resbytes.h"

#include <QDir>
#include <QString>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const QString directory = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(directory)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    QVector<QByteArray> seeds;
    seeds.append(testres::toBytes(testres::File()));
    testres::File oneObject;
    oneObject.objects.append(testres::Object());
    seeds.append(testres::toBytes(oneObject));
    for (quint32 seed = 1; seed <= 24; ++seed)
        seeds.append(testres::toBytes(testres::generateFile(seed, int(seed % 6))));

    for (int i = 0; i < seeds.size(); ++i) {
        const QString path = QDir(directory).filePath(
                QStringLiteral("seed-%1.res").arg(i, 2, 10, QLatin1Char('0')));
        if (!testres::writeFile(path, seeds.at(i))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    std::printf("%d seed files in %s\n", int(seeds.size()), argv[1]);
    return 0;
}
