// Feeds arbitrary bytes to the loader. It must accept exactly the files that the
// tests' own reading of the layout finds well formed, and save every file it
// accepts as exactly the bytes it was read from, also after a trip through JSON.

#include "resbytes.h"
#include "resdocument.h"
#include "resjson.h"

#include <QBuffer>

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

bool readDocument(const QByteArray &bytes, ResDocument &document)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return document.read(buffer);
}

QByteArray writeDocument(ResDocument &document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    expect(document.write(buffer), "writing to memory succeeds");
    return buffer.data();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input =
            QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));

    testres::File layout;
    ResDocument document;
    const bool accepted = readDocument(input, document);
    expect(accepted == testres::fromBytes(input, &layout),
            "the loader accepts exactly the well-formed files");
    if (!accepted) {
        expect(!document.errorString().isEmpty(), "a refused file is refused with a reason");
        return 0;
    }
    expect(writeDocument(document) == input, "the saved bytes are the bytes that were read");

    ResDocument imported;
    QString error;
    expect(importJson(exportJson(document.contents), &imported.contents, &error),
            "the exported JSON imports");
    expect(writeDocument(imported) == input, "export then import gives back the same bytes");
    return 0;
}
