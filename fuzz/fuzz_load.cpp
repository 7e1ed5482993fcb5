// Feeds arbitrary bytes to the loader, under AddressSanitizer and
// UndefinedBehaviorSanitizer. A file it refuses has a reason; a file it accepts
// is saved as exactly the bytes it was read from, also after a trip through JSON.

#include "resdocument.h"
#include "jsonexport.h"
#include "jsonimport.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>

static void expect(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "broken property: %s\n", property);
        std::abort();
    }
}

static QByteArray saved(ResDocument &document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    expect(document.write(buffer), "writing to memory succeeds");
    return buffer.data();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The same bytes as JSON: refused with a reason, or taken.
    QString jsonError;
    ResStruct fromJson;
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    expect(importJson(bytes, &fromJson, &jsonError) || !jsonError.isEmpty(),
            "refused JSON has a reason");

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
    const QByteArray json = exportJson(document.contents);
    expect(json.size() <= jsonSizeBound(document.contents), "the JSON keeps within its bound");
    expect(importJson(json, &imported.contents, &error), "the exported JSON imports");
    expect(saved(imported) == input.data(), "export then import gives back the same bytes");
    return 0;
}
