// Measures how many stored names the text rule shows as they were written, on a
// corpus made by scripts/make-text-corpus.py: one line per stored name, its
// class (or "file:" and the kind of file it stands in), the name and its bytes
// in hex. A name of a class is read alone; the names of a file are read with the
// evidence of that file's texts. Prints one figure per class, for all classes
// and per file, beside the same for the rule this one replaced, which weighed
// each character on its own; then how fast the rule reads a string. With
// --misread, it lists every name that either rule shows otherwise.

#include "recordtext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

struct CommonCharacter
{
    char16_t character;
    quint8 cost;
};

// The character table of the replaced rule, made from jieba's word list.
constexpr CommonCharacter CommonCharacters[] = {
#include "charrule.inc"
};

constexpr int highestCommonCost()
{
    int highest = 0;
    for (const CommonCharacter &entry : CommonCharacters)
        highest = entry.cost > highest ? entry.cost : highest;
    return highest;
}

// The replaced rule: a reading costs the sum of its characters' costs in bits.
int characterTableCost(const QString &text)
{
    constexpr int rareHan = highestCommonCost() + 3, ascii = 8, symbol = 14, other = 26;
    int cost = 0;
    for (const uint character : text.toUcs4()) {
        const QChar::Category category = QChar::category(character);
        if (character < 0xA0 && !(character >= 0x20 && character < 0x7F))
            return -1;
        if (character == 0xFFFD || category == QChar::Other_NotAssigned
                || category == QChar::Other_PrivateUse || category == QChar::Other_Surrogate)
            return -1;
        const auto common = std::lower_bound(std::begin(CommonCharacters),
                std::end(CommonCharacters), character,
                [](const CommonCharacter &entry, uint c) { return entry.character < c; });
        if (character < 0x7F)
            cost += ascii;
        else if (common != std::end(CommonCharacters) && common->character == character)
            cost += common->cost;
        else if ((character >= 0x4E00 && character <= 0x9FFF)
                || (character >= 0x3400 && character <= 0x4DBF)
                || (character >= 0xF900 && character <= 0xFAFF)
                || (character >= 0x20000 && character <= 0x3134F))
            cost += rareHan;
        else
            cost += (character <= 0xFF || (character >= 0x2010 && character <= 0x26FF)
                            || (character >= 0x3000 && character <= 0x3020)
                            || (character >= 0xFF01 && character <= 0xFF65))
                    ? symbol
                    : other;
    }
    return cost;
}

QString characterTableReading(const QByteArray &bytes)
{
    const QString asGb18030 = decodeInEncoding(bytes, TextEncoding::Gb18030);
    const QString asBig5 = decodeInEncoding(bytes, TextEncoding::Big5);
    const int gbCost = characterTableCost(asGb18030), big5Cost = characterTableCost(asBig5);
    return big5Cost >= 0 && (gbCost < 0 || big5Cost < gbCost) ? asBig5 : asGb18030;
}

struct Name
{
    QString text;
    QByteArray bytes;
};

struct Tally
{
    int names = 0;
    int words = 0;
    int characters = 0;
};

void print(const QString &kind, const QString &name, const Tally &tally)
{
    for (const auto &[rule, readBack] :
            { std::pair { "words", tally.words }, std::pair { "characters", tally.characters } }) {
        std::printf("bench name=text_rule rule=%s %s=%s names=%d read_back=%d percent=%.2f\n", rule,
                qPrintable(kind), qPrintable(name), tally.names, readBack,
                tally.names ? 100.0 * readBack / tally.names : 0.0);
    }
}

} // namespace

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

    QMap<QString, QVector<Name>> groups;
    while (!corpus.atEnd()) {
        const QStringList fields = QString::fromUtf8(corpus.readLine()).trimmed().split('\t');
        if (fields.size() == 3)
            groups[fields.at(0)].append(
                    { fields.at(1), QByteArray::fromHex(fields.at(2).toLatin1()) });
    }

    Tally all;
    QVector<QByteArray> everyName;
    for (auto group = groups.cbegin(); group != groups.cend(); ++group) {
        const bool file = group.key().startsWith(QLatin1String("file:"));
        TextEvidence evidence;
        if (file) {
            QVector<ResObject> objects(group->size());
            for (int i = 0; i < objects.size(); ++i) {
                const QByteArray &bytes = group->at(i).bytes;
                objects[i].String1.Length = bytes.size() + 1;
                std::memcpy(objects[i].String1.Text, bytes.constData(), size_t(bytes.size()));
            }
            evidence = weighTexts(objects);
        }
        Tally tally;
        for (const Name &name : *group) {
            const QString shown[] = { decodeRecordText(name.bytes, evidence),
                characterTableReading(name.bytes) };
            ++tally.names;
            tally.words += shown[0] == name.text;
            tally.characters += shown[1] == name.text;
            for (int rule = 0; rule < 2 && listMisread; ++rule) {
                if (shown[rule] != name.text) {
                    std::printf("misread rule=%s %s %s as %s\n", rule ? "characters" : "words",
                            qPrintable(group.key()), qPrintable(name.text),
                            qPrintable(shown[rule]));
                }
            }
            everyName.append(name.bytes);
        }
        if (file) {
            print(QStringLiteral("file"), group.key().mid(5), tally);
            continue;
        }
        print(QStringLiteral("class"), group.key(), tally);
        all.names += tally.names;
        all.words += tally.words;
        all.characters += tally.characters;
    }
    print(QStringLiteral("class"), QStringLiteral("all"), all);

    // Each name decoded both ways and weighed, as a file's texts are shown.
    QElapsedTimer timer;
    timer.start();
    int shownSize = 0;
    for (const QByteArray &bytes : qAsConst(everyName))
        shownSize += decodeRecordText(bytes, TextEvidence()).size();
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("bench name=text_rule_speed strings=%d microseconds_per_string=%.2f "
                "strings_per_second=%.0f characters=%d\n",
            int(everyName.size()), seconds * 1e6 / everyName.size(), everyName.size() / seconds,
            shownSize);
    return 0;
}
