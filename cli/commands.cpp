#include "commands.h"

#include "console.h"
#include "jsonexport.h"
#include "jsonimport.h"
#include "resdiff.h"
#include "resdocument.h"
#include "resfind.h"
#include "resmods.h"
#include "resstring.h"

#include <QDir>

#include <memory>
#include <utility>
#include <vector>

namespace {

QString shownPath(const QString &path)
{
    return console::printable(QDir::toNativeSeparators(path));
}

// Says "What FILE: reason." on standard error.
int refuse(const QString &what, const QString &path, const QString &reason, int exitCode)
{
    console::error(what.arg(shownPath(path), reason));
    return exitCode;
}

// Loads as the editor's Open does, with the same reasons for a refusal, and
// reads a pipe too.
bool load(const QString &path, ResDocument &document)
{
    return document.setFileName(path) && document.load(WholeFile::Source::FileOrPipe);
}

// Why the contents cannot be exported, or an empty string.
QString exportFault(const ResStruct &contents)
{
    const qint64 bound = jsonSizeBound(contents);
    if (bound <= JsonExportLimit)
        return QString();
    return Commands::tr("its JSON could take up to %1, more than the %2 that an export holds.")
            .arg(byteCount(bound), byteCount(JsonExportLimit));
}

// Output that could not be written is a failure of the command.
int finished(int exitCode, int failure)
{
    return console::finish() ? exitCode : failure;
}

} // namespace

int Commands::check(const QStringList &paths)
{
    ExitCode result = AllAccepted;
    for (const QString &path : paths) {
        ResDocument document(ResDocument::Changes::Untracked);
        QString verdict;
        if (load(path, document)) {
            const int count = document.contents.objects.size();
            verdict = count == 1 ? tr("ok, 1 object") : tr("ok, %1 objects").arg(count);
        } else {
            verdict = console::printable(document.errorString());
            result = Refused;
        }
        console::out(shownPath(path) + QLatin1String(": ") + verdict);
    }
    return finished(result, Refused);
}

int Commands::exportJson(const QString &resPath, const QString &jsonPath)
{
    ResDocument document(ResDocument::Changes::Untracked);
    if (!load(resPath, document))
        return refuse(tr("Cannot read %1: %2"), resPath, document.errorString(), Refused);
    if (const QString fault = exportFault(document.contents); !fault.isEmpty())
        return refuse(tr("Cannot export %1: %2"), resPath, fault, Refused);
    const QByteArray json = ::exportJson(document.contents);
    if (jsonPath.isEmpty() || jsonPath == QLatin1String("-")) {
        console::outBytes(json);
        return finished(AllAccepted, Refused);
    }
    QString error;
    if (!WholeFile::write(jsonPath, json, &error))
        return refuse(tr("Cannot write %1: %2"), jsonPath, error, Refused);
    return AllAccepted;
}

int Commands::importJson(const QString &jsonPath, const QString &resPath)
{
    QByteArray json;
    QString error;
    if (!WholeFile::read(jsonPath, WholeFile::Source::FileOrPipe, &json, &error))
        return refuse(tr("Cannot read %1: %2"), jsonPath, error, Refused);
    ResDocument document(ResDocument::Changes::Untracked);
    // A name that cannot be written is refused before the JSON is read.
    if (!document.setFileName(resPath))
        return refuse(tr("Cannot write %1: %2"), resPath, document.errorString(), Refused);
    if (!::importJson(json, &document.contents, &error))
        return refuse(tr("Cannot import %1: %2"), jsonPath, console::printable(error), Refused);
    if (!document.save())
        return refuse(tr("Cannot write %1: %2"), resPath, document.errorString(), Refused);
    return AllAccepted;
}

int Commands::textconv(const QString &path)
{
    ResDocument document(ResDocument::Changes::Untracked);
    if (!load(path, document)) {
        console::out(tr("drovanel-res: cannot read %1: %2")
                             .arg(shownPath(path), console::printable(document.errorString())));
    } else if (const QString fault = exportFault(document.contents); !fault.isEmpty()) {
        console::out(tr("drovanel-res: cannot export %1: %2").arg(shownPath(path), fault));
    } else {
        console::outBytes(::exportJson(document.contents));
    }
    return finished(AllAccepted, Refused);
}

int Commands::diff(const QString &oldPath, const QString &newPath)
{
    ResDocument old(ResDocument::Changes::Untracked), changed(ResDocument::Changes::Untracked);
    for (const auto &[path, document] : { std::pair { oldPath, &old }, { newPath, &changed } }) {
        if (!load(path, *document))
            return refuse(tr("Cannot read %1: %2"), path, document->errorString(), Trouble);
    }
    const QStringList lines = diffContents(old.contents, changed.contents);
    for (const QString &line : lines)
        console::out(line);
    return finished(lines.isEmpty() ? Same : Different, Trouble);
}

int Commands::merge(const QStringList &paths, const QString &outPath, MergePreference preference,
        const QString &name)
{
    // BASE and the mods, named in messages as given, or by git's %P and side.
    const bool twoMods = paths.size() == 3;
    QStringList names;
    for (int i = 0; i < paths.size(); ++i) {
        const QString side = i == 0 ? tr("base")
                : twoMods           ? (i == 1 ? tr("ours") : tr("theirs"))
                                    : tr("mod %1").arg(i);
        names << (name.isEmpty() ? shownPath(paths.at(i))
                                 : QStringLiteral("%1 (%2)").arg(console::printable(name), side));
    }
    std::vector<std::unique_ptr<ResDocument>> documents;
    QVector<const ResStruct *> mods;
    for (int i = 0; i < paths.size(); ++i) {
        documents.push_back(std::make_unique<ResDocument>(ResDocument::Changes::Untracked));
        if (!load(paths.at(i), *documents.back())) {
            console::error(
                    tr("Cannot read %1: %2").arg(names.at(i), documents.back()->errorString()));
            return Trouble;
        }
        if (i > 0)
            mods.append(&documents.back()->contents);
    }
    MergeResult merged = mergeMods(documents.front()->contents, mods, names.mid(1), preference);
    // Each conflict a line, for scripts as much as for people: not translated.
    const char *const settled[] = { "conflict", twoMods ? "kept ours" : "kept first",
        twoMods ? "took theirs" : "took last" };
    for (const QString &conflict : qAsConst(merged.conflicts))
        console::error(QLatin1String(settled[int(preference)]) + QLatin1String(": ") + conflict);
    // OUT may be one of the inputs, as git gives it; all are read by now.
    ResDocument out(ResDocument::Changes::Untracked);
    out.contents = std::move(merged.contents);
    if (!out.setFileName(outPath) || !out.save()) {
        return refuse(tr("Cannot write %1: %2"), name.isEmpty() ? outPath : name, out.errorString(),
                Trouble);
    }
    return merged.conflicts.isEmpty() || preference != MergePreference::None ? Same : Different;
}

int Commands::find(const QString &pattern, const QStringList &paths, bool ignoreCase)
{
    ScriptFolder folder;
    if (!folder.isValid()) {
        console::error(folder.errorString());
        return Trouble;
    }
    const QRegularExpression expression(folder.fold(pattern),
            ignoreCase ? QRegularExpression::CaseInsensitiveOption
                       : QRegularExpression::NoPatternOption);
    if (!expression.isValid()) {
        console::error(tr("drovanel-res: the pattern %1 is not a regular expression: %2.")
                               .arg(console::quoted(pattern), expression.errorString()));
        return WrongCommandLine;
    }
    bool found = false, unread = false;
    for (const QString &path : paths) {
        ResDocument document(ResDocument::Changes::Untracked);
        if (!load(path, document)) {
            refuse(tr("Cannot read %1: %2"), path, document.errorString(), Trouble);
            unread = true;
            continue;
        }
        const QStringList lines =
                findInContents(document.contents, shownPath(path), expression, folder);
        for (const QString &line : lines)
            console::out(line);
        found = found || !lines.isEmpty();
    }
    return finished(unread ? Trouble : found ? Same : Different, Trouble);
}
