#include "jsonexport.h"

#include "jsonform.h"
#include "jsonstring.h"
#include "jsonwriter.h"
#include "resfields.h"
#include "resmatch.h"
#include "resstring.h"

#include <QThread>

#include <future>
#include <limits>
#include <vector>

namespace {

template<typename Entry, size_t FieldCount>
void writeTable(JsonWriter &json, const QVector<Entry> &table,
        const IntegerField<Entry> (&fields)[FieldCount])
{
    json.open('[');
    for (const Entry &entry : table) {
        json.next();
        json.open('{');
        for (const IntegerField<Entry> &field : fields) {
            json.next(field.name);
            json.number(entry.*field.member);
        }
        json.close('}');
    }
    json.close(']');
}

void writeObject(JsonWriter &json, const ResObject &object, const TextEvidence &evidence)
{
    json.open('{');
    for (const IntegerField<ResObject> &field : { ObjectTypeField, EntryTypeTypeIDField }) {
        json.next(field.name);
        json.number(object.*field.member);
    }
    for (const StringField &field : StringFields) {
        json.next(field.name);
        JsonString::write(json, object.*field.member, field.modelName, evidence);
    }
    json.next(Part1Name);
    writeTable(json, object.Part1, Part1Fields);
    json.next(Part2Name);
    writeTable(json, object.Part2, Part2Fields);
    json.close('}');
}

// About what the objects from begin to end and their entries take, so that
// each text grows once.
int expectedSize(const ResStruct &contents, int begin, int end)
{
    qint64 size = 1024;
    for (int i = begin; i < end; ++i) {
        const ResObject &object = contents.objects.at(i);
        size += 640 + 100 * qint64(object.Part1.size()) + 260 * qint64(object.Part2.size());
    }
    return int(qMin(size, JsonExportLimit));
}

// The objects from begin to end. The first slice begins the text: the file's
// object, its header and its "objects" array; later slices go on inside them.
JsonWriter writeSlice(const ResStruct &contents, int begin, int end)
{
    JsonWriter json = begin == 0 ? JsonWriter() : JsonWriter(2, true);
    if (begin == 0) {
        json.text.reserve(expectedSize(contents, 0, contents.objects.size()));
        json.open('{');
        json.next(HeaderKey);
        json.string(QByteArray::fromRawData(
                reinterpret_cast<const char *>(&contents.header), ResHeaderSize)
                            .toHex());
        json.next(ObjectsKey);
        json.open('[');
    } else {
        json.text.reserve(expectedSize(contents, begin, end));
    }
    for (int i = begin; i < end; ++i) {
        json.next();
        writeObject(json, contents.objects.at(i), *contents.textEvidence);
    }
    return json;
}

} // namespace

qint64 jsonSizeBound(const ResStruct &contents)
{
    // An object's keys and indents, and its strings at their longest: 253
    // characters written as \u001f each. An entry's fields at 11 digits each.
    constexpr qint64 PerObject = 6 * 1024, PerPart1Entry = 160, PerPart2Entry = 400;
    qint64 size = 1024 + 2 * qint64(contents.trailing.size());
    for (const ResObject &object : contents.objects) {
        size += PerObject + PerPart1Entry * qint64(object.Part1.size())
                + PerPart2Entry * qint64(object.Part2.size());
    }
    return size;
}

QByteArray exportJson(const ResStruct &contents)
{
    // The objects are written in slices, one per processor: showing each string
    // as the editor does takes most of the time. The first slice holds the text,
    // which the others are appended to, each freed once it is.
    // Weighed here, before the slices read it at once.
    textEvidenceOf(contents);
    const int objects = contents.objects.size();
    const int slices = qBound(1, qMin(QThread::idealThreadCount(), objects), 8);
    std::vector<std::future<JsonWriter>> parts;
    for (int slice = 0; slice < slices; ++slice) {
        const int begin = int(qint64(objects) * slice / slices);
        const int end = int(qint64(objects) * (slice + 1) / slices);
        parts.push_back(std::async(std::launch::async,
                [&contents, begin, end] { return writeSlice(contents, begin, end); }));
    }

    JsonWriter json = parts.front().get();
    for (auto part = parts.begin() + 1; part != parts.end(); ++part)
        json.text += part->get().text;
    json.openedMembers(objects > 0);
    json.close(']');
    if (!contents.trailing.isEmpty()) {
        json.next(TrailingKey);
        json.string(contents.trailing.toHex());
    }
    json.close('}');
    json.text += '\n';
    return json.text;
}
