// Feeds arbitrary bytes to the loader. For every input it accepts, the records
// must keep the format's invariants, agree with what the tests' own reader makes
// of the same bytes, be saved as exactly the bytes they were read from, and load
// again into the same records.

#include "resbytes.h"
#include "resdocument.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void broken(const char *property)
{
    std::fprintf(stderr, "broken property: %s\n", property);
    std::abort();
}

void expect(bool holds, const char *property)
{
    if (!holds)
        broken(property);
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

QByteArray storedBytes(const ResString &string)
{
    return QByteArray(string.Text, string.Length);
}

void checkString(const ResString &string, const QByteArray &expected)
{
    expect(string.Length >= ResStringMinLength && string.Length <= ResStringMaxLength,
            "string length lies in 1 to 254");
    expect(std::memchr(string.Text, 0, size_t(string.Length)) != nullptr,
            "a string holds its zero byte");
    expect(storedBytes(string) == expected, "string bytes agree with the layout");
}

// The loaded records against the tests' own reading of the same bytes.
void checkRecords(const ResStruct &contents, const testres::File &file)
{
    const char *header = reinterpret_cast<const char *>(&contents.header);
    expect(QByteArray(header, OpaqueHeadSize) == file.head, "OpaqueHead is carried");
    expect(QByteArray(header + OpaqueHeadSize + 2, OpaqueTailSize) == file.tail,
            "OpaqueTail is carried");
    expect(contents.header.ObjectCount == file.objectCount, "ObjectCount agrees");
    expect(contents.objects.size() == file.objects.size(), "ObjectCount objects are loaded");
    for (int i = 0; i < contents.objects.size(); ++i) {
        const ResObject &object = contents.objects.at(i);
        const testres::Object &expected = file.objects.at(i);
        expect(object.ObjectType == expected.objectType, "ObjectType agrees");
        expect(object.EntryTypeTypeID == expected.id, "EntryTypeTypeID agrees");
        checkString(object.String1, expected.strings[0]);
        checkString(object.String2, expected.strings[1]);
        checkString(object.String3, expected.strings[2]);
        expect(object.Part1Count == object.Part1.size(), "Part1Count matches its table");
        expect(object.Part2Count == object.Part2.size(), "Part2Count matches its table");
        expect(object.Part1.size() == expected.part1.size(), "Part1 sizes agree");
        expect(object.Part2.size() == expected.part2.size(), "Part2 sizes agree");
        for (int j = 0; j < object.Part1.size(); ++j) {
            const Part1SubObject &entry = object.Part1.at(j);
            const testres::Entry1 &want = expected.part1.at(j);
            expect(entry.Type == want.type && entry.Value1 == want.value1
                            && entry.Value2 == want.value2,
                    "Part1 entries agree");
        }
        for (int j = 0; j < object.Part2.size(); ++j) {
            expect(std::memcmp(&object.Part2.at(j), expected.part2.at(j).data(), Part2EntrySize)
                            == 0,
                    "Part2 entries agree");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input =
            QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));

    testres::File layout;
    const bool wellFormed = testres::fromBytes(input, &layout);
    ResDocument first;
    const bool accepted = readDocument(input, first);
    expect(accepted == wellFormed, "the loader accepts exactly the well-formed files");
    if (!accepted) {
        expect(!first.errorString().isEmpty(), "a refused file is refused with a reason");
        return 0;
    }
    checkRecords(first.contents, layout);

    // Everything up to the last object block is written back; nothing after it.
    const QByteArray saved = writeDocument(first);
    expect(input.startsWith(saved), "the saved bytes are the bytes that were read");
    expect(saved == testres::toBytes(layout), "the saved bytes follow the layout");

    ResDocument second;
    expect(readDocument(saved, second), "a saved file loads again");
    checkRecords(second.contents, layout);
    expect(writeDocument(second) == saved, "saving the reloaded file gives the same bytes");
    return 0;
}
