#include "commands.h"

#include "console.h"
#include "jsonexport.h"
#include "jsonimport.h"
#include "resdiff.h"
#include "resdocument.h"

#include <QDir>

#include <utility>

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
    if (!::importJson(json, &document.contents, &error))
        return refuse(tr("Cannot import %1: %2"), jsonPath, console::printable(error), Refused);
    if (!document.setFileName(resPath) || !document.save())
        return refuse(tr("Cannot write %1: %2"), resPath, document.errorString(), Refused);
    return AllAccepted;
}

int Commands::textconv(const QString &path)
{
    ResDocument document(ResDocument::Changes::Untracked);
    if (load(path, document))
        console::outBytes(::exportJson(document.contents));
    else
        console::out(tr("drovanel-res: cannot read %1: %2")
                             .arg(shownPath(path), console::printable(document.errorString())));
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
    const QString sides[] = { tr("base"), tr("ours"), tr("theirs") };
    ResDocument documents[3] = { ResDocument(ResDocument::Changes::Untracked),
        ResDocument(ResDocument::Changes::Untracked),
        ResDocument(ResDocument::Changes::Untracked) };
    for (int i = 0; i < 3; ++i) {
        if (!load(paths[i], documents[i])) {
            const QString shown =
                    name.isEmpty() ? paths[i] : QStringLiteral("%1 (%2)").arg(name, sides[i]);
            return refuse(tr("Cannot read %1: %2"), shown, documents[i].errorString(), Trouble);
        }
    }
    MergeResult merged = mergeContents(
            documents[0].contents, documents[1].contents, documents[2].contents, preference);
    // Each conflict a line, for scripts as much as for people: not translated.
    const QString kind = preference == MergePreference::None ? QStringLiteral("conflict")
            : preference == MergePreference::Ours            ? QStringLiteral("kept ours")
                                                             : QStringLiteral("took theirs");
    for (const QString &conflict : qAsConst(merged.conflicts))
        console::error(kind + QLatin1String(": ") + conflict);
    // OUT may be OURS, as git gives it; all three are read by now.
    ResDocument out(ResDocument::Changes::Untracked);
    out.contents = std::move(merged.contents);
    if (!out.setFileName(outPath) || !out.save()) {
        return refuse(tr("Cannot write %1: %2"), name.isEmpty() ? outPath : name, out.errorString(),
                Trouble);
    }
    return merged.conflicts.isEmpty() || preference != MergePreference::None ? Same : Different;
}
