// Feeds arbitrary bytes to the loader, under AddressSanitizer and
// UndefinedBehaviorSanitizer. A file it refuses has a reason; a file it accepts
// is saved as exactly the bytes it was read from, also after a trip through JSON.

#include "resbytes.h"
#include "resdocument.h"
#include "resjson.h"

#include <QBuffer>
#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace {

void expect(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "broken property: %s\n", property);
        std::abort();
    }
}

QByteArray saved(ResDocument &document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    expect(document.write(buffer), "writing to memory succeeds");
    return buffer.data();
}

} // namespace

// With DROVANEL_FUZZ_SEEDS set, first writes files of the tests' generator into
// that directory, for the fuzzer to start from.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const QDir seeds(qEnvironmentVariable("DROVANEL_FUZZ_SEEDS"));
    if (!qEnvironmentVariableIsEmpty("DROVANEL_FUZZ_SEEDS") && QDir().mkpath(seeds.path())) {
        for (quint32 seed = 0; seed < 24; ++seed) {
            testres::File file = testres::generateFile(seed, int(seed % 6));
            file.trailing = QByteArray(int(seed % 3), 't');
            testres::writeFile(seeds.filePath(QString::number(seed)), testres::toBytes(file));
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBuffer input;
    input.setData(reinterpret_cast<const char *>(data), int(size));
    input.open(QIODevice::ReadOnly);
    ResDocument document;
    if (!document.read(input)) {
        expect(!document.errorString().isEmpty(), "a refused file has a reason");
        return 0;
    }
    expect(saved(document) == input.data(), "an accepted file is saved as exactly its bytes");
    ResDocument imported;
    QString error;
    expect(importJson(exportJson(document.contents), &imported.contents, &error),
            "the exported JSON imports");
    expect(saved(imported) == input.data(), "export then import gives back the same bytes");
    return 0;
}
