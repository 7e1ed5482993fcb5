#include "resfind.h"

#include "console.h"
#include "recordtext.h"
#include "resfields.h"
#include "resmatch.h"

#include <opencc.h>

namespace {

// Whether a character can have another form in the other script.
bool isHan(char32_t character)
{
    return (character >= 0x3400 && character <= 0x9FFF)
            || (character >= 0xF900 && character <= 0xFAFF) || character >= 0x20000;
}

} // namespace

ScriptFolder::ScriptFolder()
    : converter(opencc_open("t2s.json"))
{
    if (!isValid())
        error = tr("opencc cannot convert traditional to simplified text: %1")
                        .arg(QString::fromLocal8Bit(opencc_error()));
}

ScriptFolder::~ScriptFolder()
{
    if (isValid())
        opencc_close(static_cast<opencc_t>(converter));
}

bool ScriptFolder::isValid() const
{
    return converter != reinterpret_cast<void *>(-1) && converter;
}

QString ScriptFolder::fold(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const char32_t character : text.toUcs4()) {
        if (!isHan(character)) {
            result += QString::fromUcs4(&character, 1);
            continue;
        }
        auto known = folded.constFind(character);
        if (known == folded.cend()) {
            const QByteArray utf8 = QString::fromUcs4(&character, 1).toUtf8();
            char *converted = opencc_convert_utf8(
                    static_cast<opencc_t>(converter), utf8.constData(), size_t(utf8.size()));
            known = folded.insert(character, QString::fromUtf8(converted));
            opencc_convert_utf8_free(converted);
        }
        result += *known;
    }
    return result;
}

QStringList findInContents(const ResStruct &contents, const QString &fileName,
        const QRegularExpression &pattern, ScriptFolder &folder)
{
    QStringList lines;
    for (int i = 0; i < contents.objects.size(); ++i) {
        const ResObject &object = contents.objects.at(i);
        const auto found = [&](const char *field, const QString &text) {
            // One call: a file name may hold a %1 of its own.
            lines << QStringLiteral("%1: object %2 (%3) %4: %5")
                             .arg(fileName, QString::number(i), objectName(object),
                                     QLatin1String(field), console::printable(text));
        };
        const QString id = QString::number(object.*EntryTypeTypeIDField.member);
        if (pattern.match(id).hasMatch())
            found(EntryTypeTypeIDField.name, id);
        for (const StringField &field : StringFields) {
            const QString text =
                    readStoredText(object.*field.member, field.modelName, textEvidenceOf(contents))
                            .text;
            if (!text.isEmpty() && pattern.match(folder.fold(text)).hasMatch())
                found(field.name, text);
        }
    }
    return lines;
}
