#include "benchrunner.h"

#include "dialoganswerer.h"
#include "drovanel.h"
#include "resdocument.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const int SelectionPart1Counts[] = { 0, 64, 512, 2048 };
const int SelectionPart2Counts[] = { 0, 16, 64 };
constexpr int AddPart1Entries = 64;
constexpr int LargestObjectCount = 32767;
constexpr int QuickObjectCount = 300;

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "drovanel_bench: %s\n", qPrintable(why));
    std::exit(1);
}

// Lets the window do what it queued: showing new widgets, laying them out,
// painting, and the tree's delayed item layout. The user waits for that too.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

double msBetween(qint64 startNs, qint64 endNs)
{
    return double(endNs - startNs) / 1e6;
}

QAction *action(Drovanel &window, const QString &text)
{
    const QList<QAction *> actions = window.findChildren<QAction *>();
    for (QAction *candidate : actions) {
        if (candidate->text() == text)
            return candidate;
    }
    fail(QStringLiteral("the window has no action %1").arg(text));
}

QTreeWidget &treeOf(Drovanel &window)
{
    auto *tree = window.findChild<QTreeWidget *>();
    if (!tree)
        fail(QStringLiteral("the window has no tree"));
    return *tree;
}

// The "Objects" node: the file node's second child.
QTreeWidgetItem *objectsNode(Drovanel &window)
{
    QTreeWidgetItem *root = treeOf(window).topLevelItem(0);
    if (!root || root->childCount() != 2)
        fail(QStringLiteral("the tree has no file node with Header and Objects"));
    return root->child(1);
}

int objectRows(Drovanel &window)
{
    QTreeWidgetItem *objects = objectsNode(window);
    int rows = 0;
    for (int i = 0; i < objects->childCount(); ++i)
        rows += objects->child(i)->childCount();
    return rows;
}

// Weapons are the first folder; the heavy objects are its first rows.
QTreeWidgetItem *weaponRow(Drovanel &window, int index)
{
    return objectsNode(window)->child(0)->child(index);
}

std::unique_ptr<Drovanel> shownWindow()
{
    auto window = std::make_unique<Drovanel>();
    window->show();
    settle();
    return window;
}

// Opens path through the window's Open command and returns the milliseconds
// from accepting the file dialog to the settled window. A negative expectedRows
// skips the check of the tree.
double openThroughWindow(Drovanel &window, DialogAnswerer &answerer, const QElapsedTimer &clock,
        const QString &path, int expectedRows)
{
    answerer.start(path);
    action(window, QStringLiteral("Open"))->trigger();
    answerer.stop();
    settle();
    const qint64 end = clock.nsecsElapsed();
    if (answerer.acceptedAtNs() < 0)
        fail(QStringLiteral("Open showed no file dialog"));
    if (!answerer.messages.isEmpty())
        fail(QStringLiteral("Open said: %1").arg(answerer.messages.join(QLatin1Char(' '))));
    if (expectedRows >= 0 && objectRows(window) != expectedRows) {
        fail(QStringLiteral("the tree of %1 lists %2 objects, not %3")
                        .arg(path)
                        .arg(objectRows(window))
                        .arg(expectedRows));
    }
    return msBetween(answerer.acceptedAtNs(), end);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1").arg(path));
    return file.readAll();
}

// Kibibytes from /proc/self/status, or -1 where there is none.
qint64 statusKib(const QByteArray &key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

QString sizeText(qint64 bytes)
{
    return bytes >= 1024 * 1024 ? QStringLiteral("%1 MiB").arg(double(bytes) / 1048576.0, 0, 'f', 1)
                                : QStringLiteral("%1 KiB").arg(double(bytes) / 1024.0, 0, 'f', 1);
}

QString ratioText(double ratio)
{
    return QString::number(ratio, 'f', 2);
}

} // namespace

bool BenchRunner::isGroup(const QString &name)
{
    static const QStringList groups { QStringLiteral("files"), QStringLiteral("select"),
        QStringLiteral("add"), QStringLiteral("memory") };
    return groups.contains(name);
}

BenchRunner::BenchRunner(const Options &options)
    : options(options)
    , report(stdout)
{
    for (int part1 : SelectionPart1Counts) {
        for (int part2 : SelectionPart2Counts)
            heavy.append({ part1, part2 });
    }
    clock.start();
}

int BenchRunner::run()
{
    if (!dir.isValid())
        fail(QStringLiteral("cannot make a temporary directory"));
    std::printf("Drovanel benchmark: %s, %d run(s) per figure, median reported\n",
            options.quick ? "quick check on a small file" : "full", options.repeat);

    const QVector<int> sizes = options.quick ? QVector<int> { QuickObjectCount }
                                             : QVector<int> { 1000, 8000, LargestObjectCount };
    QVector<SizedFile> files;
    for (int objects : sizes) {
        files.append(makeFile(
                QStringLiteral("objects-%1.res").arg(objects), objects, objects == sizes.last()));
    }
    const auto wanted = [this](const char *group) {
        return options.only.isEmpty() || options.only == QLatin1String(group);
    };
    if (wanted("files")) {
        for (const SizedFile &file : files)
            measureFloorsLoadAndSave(file);
    }
    if (wanted("select"))
        measureSelection(files.last());
    // AddNewObject cannot add beyond the most objects the header counts, so its
    // file leaves room for one object per run.
    if (wanted("add"))
        measureAddNewObject(sizes.last() - options.repeat);
    if (wanted("memory"))
        measureMemory(files.first(), files.last());

    report.printTable();
    return 0;
}

BenchRunner::SizedFile BenchRunner::makeFile(const QString &name, int objects, bool withHeavy)
{
    SizedFile file { objects, dir.filePath(name),
        benchfiles::generate(quint32(objects), objects,
                withHeavy ? heavy : QVector<benchfiles::EntryCounts>()) };
    QFile out(file.path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size())
        fail(QStringLiteral("cannot write %1").arg(file.path));
    return file;
}

QVector<double> BenchRunner::repeatTimed(
        const std::function<void()> &prepare, const std::function<void()> &work)
{
    QVector<double> samples;
    for (int i = 0; i < options.repeat; ++i) {
        prepare();
        const qint64 start = clock.nsecsElapsed();
        work();
        samples.append(msBetween(start, clock.nsecsElapsed()));
    }
    return samples;
}

void BenchRunner::measureFloorsLoadAndSave(const SizedFile &file)
{
    const Report::Fields params { { QStringLiteral("objects"), QString::number(file.objects) },
        { QStringLiteral("bytes"), QString::number(file.bytes.size()) } };
    const QString label =
            QStringLiteral("%1 objects, %2").arg(file.objects).arg(sizeText(file.bytes.size()));
    const auto nothing = [] {};

    const double readFloor =
            report.addTiming(QStringLiteral("read_floor"), label, params, repeatTimed(nothing, [&] {
                QFile in(file.path);
                if (!in.open(QIODevice::ReadOnly) || in.readAll().size() != file.bytes.size())
                    fail(QStringLiteral("cannot read %1").arg(file.path));
            }));
    const QString floorPath = dir.filePath(QStringLiteral("floor.res"));
    const double writeFloor = report.addTiming(
            QStringLiteral("write_floor"), label, params, repeatTimed(nothing, [&] {
                QFile out(floorPath);
                if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size())
                    fail(QStringLiteral("cannot write %1").arg(floorPath));
            }));
    // Save writes through a temporary file that is flushed to disk and renamed
    // over the file: the same with one write shows what that safety costs.
    const double saveFileFloor = report.addTiming(
            QStringLiteral("savefile_floor"), label, params, repeatTimed(nothing, [&] {
                QSaveFile out(floorPath);
                if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size()
                        || !out.commit())
                    fail(QStringLiteral("cannot write %1").arg(floorPath));
            }));

    std::unique_ptr<ResDocument> document;
    const auto freshDocument = [&] {
        document = std::make_unique<ResDocument>();
        document->setFileName(file.path);
    };
    const double load =
            report.addTiming(QStringLiteral("load"), label, params, repeatTimed(freshDocument, [&] {
                if (!document->load())
                    fail(QStringLiteral("load refused %1: %2")
                                    .arg(file.path, document->errorString()));
            }));
    document.reset();

    std::unique_ptr<Drovanel> window;
    DialogAnswerer answerer(clock);
    QVector<double> opens;
    for (int i = 0; i < options.repeat; ++i) {
        window.reset();
        window = shownWindow();
        opens.append(openThroughWindow(*window, answerer, clock, file.path, file.objects));
    }
    const double open = report.addTiming(QStringLiteral("open"), label, params, opens);
    // Opening a file over an open one first tears down its tree and records.
    QVector<double> reopens;
    for (int i = 0; i < options.repeat; ++i)
        reopens.append(openThroughWindow(*window, answerer, clock, file.path, file.objects));
    report.addTiming(QStringLiteral("reopen"), label, params, reopens);
    report.addValue(QStringLiteral("tree"), label, params,
            { { QStringLiteral("median_ms"), QString::number(open - load, 'f', 3) } },
            QString::number(open - load, 'f', 1), QStringLiteral("open - load, of the medians"));

    QAction *save = action(*window, QStringLiteral("Save"));
    const double saved =
            report.addTiming(QStringLiteral("save"), label, params, repeatTimed(nothing, [&] {
                save->trigger();
                settle();
            }));
    if (fileBytes(file.path) != file.bytes)
        fail(QStringLiteral("Save did not write %1 back byte for byte").arg(file.path));
    window.reset();

    report.addValue(QStringLiteral("load_vs_read"), label, params,
            { { QStringLiteral("ratio"), ratioText(load / readFloor) } },
            ratioText(load / readFloor) + QLatin1Char('x'), QStringLiteral("load / read_floor"));
    report.addValue(QStringLiteral("save_vs_write"), label, params,
            { { QStringLiteral("ratio"), ratioText(saved / writeFloor) } },
            ratioText(saved / writeFloor) + QLatin1Char('x'), QStringLiteral("save / write_floor"));
    report.addValue(QStringLiteral("save_vs_savefile"), label, params,
            { { QStringLiteral("ratio"), ratioText(saved / saveFileFloor) } },
            ratioText(saved / saveFileFloor) + QLatin1Char('x'),
            QStringLiteral("save / savefile_floor"));
}

void BenchRunner::measureSelection(const SizedFile &file)
{
    std::unique_ptr<Drovanel> window = shownWindow();
    DialogAnswerer answerer(clock);
    openThroughWindow(*window, answerer, clock, file.path, file.objects);
    QTreeWidget &tree = treeOf(*window);
    const Report::Fields fileParams { { QStringLiteral("objects"),
            QString::number(file.objects) } };

    // An ordinary object with a few entries; selecting it first also expands
    // the folder, so that no measured selection pays for that.
    QTreeWidgetItem *ordinary = weaponRow(*window, heavy.size());
    const auto showsForms = [&](const benchfiles::EntryCounts &counts) {
        return window->findChildren<UiMyPart1SubObject *>().size() == counts.part1
                && window->findChildren<UiMyPart2SubObject *>().size() == counts.part2;
    };

    for (int i = 0; i < heavy.size(); ++i) {
        const benchfiles::EntryCounts counts = heavy.at(i);
        QTreeWidgetItem *row = weaponRow(*window, i);
        QVector<double> totals;
        QVector<double> handlers;
        QVector<double> leaves;
        tree.setCurrentItem(ordinary);
        settle();
        for (int run = 0; run < options.repeat; ++run) {
            qint64 start = clock.nsecsElapsed();
            tree.setCurrentItem(row);
            const qint64 built = clock.nsecsElapsed();
            settle();
            totals.append(msBetween(start, clock.nsecsElapsed()));
            handlers.append(msBetween(start, built));
            if (!showsForms(counts))
                fail(QStringLiteral("selecting object %1 did not show one form per entry").arg(i));
            // Moving on to another object deletes these forms: the user waits
            // for that too.
            start = clock.nsecsElapsed();
            tree.setCurrentItem(ordinary);
            settle();
            leaves.append(msBetween(start, clock.nsecsElapsed()));
        }
        const Report::Fields params = fileParams
                + Report::Fields { { QStringLiteral("part1"), QString::number(counts.part1) },
                      { QStringLiteral("part2"), QString::number(counts.part2) } };
        const QString label =
                QStringLiteral("Part1 %1, Part2 %2").arg(counts.part1).arg(counts.part2);
        report.addTiming(QStringLiteral("select"), label, params, totals);
        report.addTiming(QStringLiteral("select_handler"), label, params, handlers);
        report.addTiming(QStringLiteral("leave"), label, params, leaves);
    }

    const int addIndex = heavy.indexOf({ AddPart1Entries, 0 });
    tree.setCurrentItem(weaponRow(*window, addIndex));
    settle();
    QAction *addPart1 = action(*window, QStringLiteral("AddSubObjectInPart1"));
    answerer.start(QString());
    const QVector<double> adds = repeatTimed([] {},
            [&] {
                addPart1->trigger();
                settle();
            });
    answerer.stop();
    if (!showsForms({ AddPart1Entries + options.repeat, 0 }) || !answerer.messages.isEmpty())
        fail(QStringLiteral("AddSubObjectInPart1 did not add one form per run"));
    report.addTiming(QStringLiteral("add_part1"),
            QStringLiteral("object of %1 entries").arg(AddPart1Entries),
            fileParams
                    + Report::Fields { { QStringLiteral("part1"),
                            QString::number(AddPart1Entries) } },
            adds);
}

void BenchRunner::measureAddNewObject(int objects)
{
    const SizedFile file = makeFile(QStringLiteral("add-%1.res").arg(objects), objects, true);
    std::unique_ptr<Drovanel> window = shownWindow();
    DialogAnswerer answerer(clock);
    openThroughWindow(*window, answerer, clock, file.path, file.objects);
    QAction *addObject = action(*window, QStringLiteral("AddNewObject"));
    QTreeWidget &tree = treeOf(*window);
    answerer.start(QString());
    const QVector<double> adds = repeatTimed(
            [&] {
                // The rebuilt tree has no current folder: select Weapon again.
                tree.setCurrentItem(objectsNode(*window)->child(0));
                settle();
            },
            [&] {
                addObject->trigger();
                settle();
            });
    answerer.stop();
    if (objectRows(*window) != objects + options.repeat || !answerer.messages.isEmpty())
        fail(QStringLiteral("AddNewObject did not add one object per run"));
    report.addTiming(QStringLiteral("add_object"),
            QStringLiteral("%1 objects, up to %2").arg(objects).arg(objects + options.repeat),
            { { QStringLiteral("objects"), QString::number(objects) } }, adds);
}

void BenchRunner::measureMemory(const SizedFile &small, const SizedFile &large)
{
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--memory-probe"), small.path, large.path });
    if (!probe.waitForFinished(-1) || probe.exitStatus() != QProcess::NormalExit
            || probe.exitCode() != 0)
        fail(QStringLiteral("the memory probe failed"));
    Report::Fields values;
    const QList<QByteArray> words = probe.readAllStandardOutput().trimmed().split(' ');
    for (const QByteArray &word : words) {
        const int equals = word.indexOf('=');
        if (equals > 0)
            values.append({ QString::fromLatin1(word.left(equals)),
                    QString::fromLatin1(word.mid(equals + 1)) });
    }
    if (values.size() != 4)
        fail(QStringLiteral("the memory probe printed no figures"));
    const auto kib = [&values](int index) { return values.at(index).second.toLongLong() * 1024; };
    report.addValue(QStringLiteral("memory"),
            QStringLiteral("%1 objects, %2 on disk")
                    .arg(large.objects)
                    .arg(sizeText(large.bytes.size())),
            { { QStringLiteral("objects"), QString::number(large.objects) },
                    { QStringLiteral("file_bytes"), QString::number(large.bytes.size()) } },
            values, sizeText(kib(1)),
            QStringLiteral("peak resident after opening it; %1 before; %2 virtual")
                    .arg(sizeText(kib(0)), sizeText(kib(3))));
}

int BenchRunner::memoryProbe(const QString &small, const QString &large)
{
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<Drovanel> window = shownWindow();
    DialogAnswerer answerer(clock);
    // The small file first, so that the baseline already holds what any open
    // costs once (the file dialog, the codecs, the tree's first rows).
    openThroughWindow(*window, answerer, clock, small, -1);
    const qint64 baseline = statusKib("VmHWM");
    openThroughWindow(*window, answerer, clock, large, -1);
    std::printf("baseline_peak_rss_kib=%lld peak_rss_kib=%lld rss_kib=%lld virtual_kib=%lld\n",
            baseline, statusKib("VmHWM"), statusKib("VmRSS"), statusKib("VmSize"));
    return 0;
}
