#include "benchrunner.h"

#include "entryformarea.h"

#include "resdocument.h"
#include "resdiff.h"
#include "jsonexport.h"
#include "jsonimport.h"
#include "resmerge.h"
#include "testwindow.h"
#include "uimypart1subobject.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The object shown by "Weapon/1", whose forms replace those of the large one.
constexpr int SmallObjectPart1 = 64;

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "drovanel_bench: %s\n", qPrintable(why));
    std::exit(1);
}

// Objects of the five types in turn, each with 5 Part1 and 2 Part2 entries and
// short GB18030 texts, except the first two weapons (objects 0 and 5): the large
// object, and one with 64 Part1 entries.
testres::File benchFile(int objects, int largePart1, int largePart2)
{
    static const qint32 part1Types[] = { 1, 2, 8, 11, 12, 13, 14, 15, 16, 17, 18 };
    QRandomGenerator random(1);
    // Two-byte characters from the common range.
    const auto text = [&random](int shortest, int longest) {
        QByteArray text;
        for (int i = random.bounded(shortest, longest + 1); i > 0; --i)
            text.append(char(random.bounded(0xB0, 0xD8))).append(char(random.bounded(0xA1, 0xFF)));
        return testres::stored(text);
    };
    testres::File file;
    file.objects.resize(objects);
    for (int i = 0; i < objects; ++i) {
        testres::Object &object = file.objects[i];
        object.objectType = 1 + i % 5;
        object.id = 10000 + i;
        object.strings = { text(2, 8), testres::stored("m" + QByteArray::number(i)), text(10, 40) };
        object.part1.resize(i == 0 ? largePart1 : i == 5 ? SmallObjectPart1 : 5);
        for (testres::Entry1 &entry : object.part1)
            entry = { part1Types[random.bounded(11)], random.bounded(100000), random.bounded(100) };
        object.part2.resize(i == 0 ? largePart2 : 2);
        for (testres::Entry2 &entry : object.part2)
            std::generate(entry.begin(), entry.end(), [&random] { return random.bounded(1, 7); });
    }
    return file;
}

// One weapon with part1 and part2 entries, and a small one to leave it for. The
// last field of each entry holds the entry's index, for the run to check the
// entry it shows.
testres::File manyEntriesFile(int part1, int part2)
{
    testres::File file;
    file.objects.resize(2);
    file.objects[0].part1.resize(part1);
    for (int i = 0; i < part1; ++i)
        file.objects[0].part1[i] = { 12, 0, i };
    file.objects[0].part2.resize(part2);
    for (int i = 0; i < part2; ++i)
        file.objects[0].part2[i][9] = i;
    file.objects[1].part1.resize(5);
    return file;
}

double msOf(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

double median(QVector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const int n = int(samples.size());
    return n % 2 ? samples.at(n / 2) : (samples.at(n / 2 - 1) + samples.at(n / 2)) / 2;
}

void print(const char *name, const QString &params, QVector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("bench name=%s %s median_ms=%.3f min_ms=%.3f max_ms=%.3f runs=%d\n", name,
            qPrintable(params), median(ms), ms.first(), ms.last(), int(ms.size()));
    std::fflush(stdout);
}

// Lets the window finish what Qt leaves to the event loop, which the user waits
// for too: showing the new forms, the layout requests of their pages, the
// tree's delayed layout of its rows, and painting all of it (offscreen, into
// the window's backing store).
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

std::unique_ptr<TestWindow> shownWindow()
{
    auto window = std::make_unique<TestWindow>();
    window->window.show();
    settle();
    return window;
}

// Fails unless no message box came up and the folders under "Objects" list
// objects rows.
void checkWindow(const TestWindow &window, int objects, const QString &what)
{
    if (!window.watcher.boxes.isEmpty())
        fail(QStringLiteral("%1 said: %2").arg(what, window.watcher.boxes.first().text));
    QTreeWidgetItem *folders = window.node(QStringLiteral("Objects"));
    int rows = 0;
    for (int i = 0; folders && i < folders->childCount(); ++i)
        rows += folders->child(i)->childCount();
    if (rows != objects)
        fail(QStringLiteral("%1 left %2 rows, not %3").arg(what).arg(rows).arg(objects));
}

// Opens path from the "Open" command, its file dialog answered by the watcher.
std::unique_ptr<TestWindow> openedWindow(const QString &path, int objects)
{
    std::unique_ptr<TestWindow> window = shownWindow();
    window->open(path);
    settle();
    checkWindow(*window, objects, QStringLiteral("Open"));
    return window;
}

} // namespace

const QStringList BenchRunner::groups { QStringLiteral("files"), QStringLiteral("select"),
    QStringLiteral("entries"), QStringLiteral("add"), QStringLiteral("json"),
    QStringLiteral("memory"), QStringLiteral("x11"), QStringLiteral("cli") };

BenchRunner::BenchRunner(bool quick, int repeat, const QString &only, const QString &resTool)
    : quick(quick)
    , repeat(repeat)
    , only(only)
    , resTool(resTool)
    , file(quick ? benchFile(1000, 256, 16) : benchFile(MaxObjectCount, 2048, 64))
    , objects(int(file.objects.size()))
    , bytes(testres::toBytes(file))
    , path(dir.filePath(QStringLiteral("objects.res")))
    , fileParams(QStringLiteral("objects=%1 bytes=%2").arg(objects).arg(bytes.size()))
{
}

int BenchRunner::run()
{
    if (!dir.isValid() || !testres::writeFile(path, bytes))
        fail(QStringLiteral("cannot write %1").arg(path));
    // In the order of groups.
    const QVector<void (BenchRunner::*)()> measures { &BenchRunner::measureFiles,
        &BenchRunner::measureSelection, &BenchRunner::measureManyEntries,
        &BenchRunner::measureAddNewObject, &BenchRunner::measureJson, &BenchRunner::measureMemory,
        &BenchRunner::measureX11, &BenchRunner::measureCli };
    for (int i = 0; i < measures.size(); ++i) {
        if (only.isEmpty() || only == groups.at(i))
            (this->*measures.at(i))();
    }
    return 0;
}

QVector<double> BenchRunner::timed(
        const std::function<void()> &prepare, const std::function<void()> &work) const
{
    QVector<double> samples;
    for (int i = 0; i < repeat; ++i) {
        prepare();
        samples.append(msOf(work));
    }
    return samples;
}

void BenchRunner::measureFiles()
{
    // What reading the bytes costs at least, beside what opening them costs.
    print("read_floor", fileParams, timed([] {}, [&] { testres::readAll(path); }));
    // Each run opens in a new window, from the trigger of "Open" to the settled
    // tree, the file dialog included; open_dialog is that dialog alone, cancelled.
    std::unique_ptr<TestWindow> window;
    const auto newWindow = [&] { window.reset(), window = shownWindow(); };
    print("open_dialog", fileParams, timed(newWindow, [&] { window->trigger("Open"), settle(); }));
    print("open", fileParams, timed(newWindow, [&] { window->open(path), settle(); }));
    checkWindow(*window, objects, QStringLiteral("Open"));
    print("save", fileParams, timed([] {}, [&] { window->save(), settle(); }));
    // Drawing rows decodes their texts: page through the opened tree's rows.
    window->tree->expandAll();
    settle();
    QScrollBar *rows = window->tree->verticalScrollBar();
    const int pages = 50;
    print("tree_rows", fileParams + QStringLiteral(" pages=%1").arg(pages),
            timed([&] { rows->setValue(0), settle(); },
                    [&] {
                        for (int page = 1; page <= pages; ++page)
                            rows->setValue(page * rows->pageStep()), settle();
                    }));
    if (testres::readAll(path) != bytes || !window->watcher.boxes.isEmpty())
        fail(QStringLiteral("Save did not write %1 back byte for byte").arg(path));
}

// Each run opens the file in a new window, whose first selection of the large
// object builds its forms; leaving it hides them, selecting it again shows them.
void BenchRunner::measureSelection()
{
    std::unique_ptr<TestWindow> window;
    const auto select = [&](const QString &row, int forms) {
        // Found before the clock runs: finding a row by its text visits every row.
        QTreeWidgetItem *item = window->node(row);
        const double ms = msOf([&] { window->tree->setCurrentItem(item), settle(); });
        const auto *area = window->window.findChild<EntryFormArea *>();
        if (!area || area->entryCount() != forms
                || !window->form<UiMyPart1SubObject>()->isVisible())
            fail(QStringLiteral("%1 shows no %2 Part1 entries").arg(row).arg(forms));
        return ms;
    };
    const int part1 = int(file.objects.first().part1.size());
    QVector<double> selects;
    QVector<double> leaves;
    QVector<double> reselects;
    for (int run = 0; run < repeat; ++run) {
        window.reset();
        window = openedWindow(path, objects);
        // Also opens the folder, which no measured selection pays.
        select(QStringLiteral("Weapon/1"), SmallObjectPart1);
        selects.append(select(QStringLiteral("Weapon/0"), part1));
        leaves.append(select(QStringLiteral("Weapon/1"), SmallObjectPart1));
        reselects.append(select(QStringLiteral("Weapon/0"), part1));
    }
    const QString params = fileParams
            + QString::asprintf(" part1=%d part2=%d", part1, int(file.objects[0].part2.size()));
    print("select_large", params, selects);
    print("leave_large", params, leaves);
    print("reselect_large", params, reselects);
}

void BenchRunner::measureManyEntries()
{
    const int part1 = quick ? 100000 : 1000000;
    const int part2 = quick ? 10000 : 100000;
    const QByteArray entriesBytes = testres::toBytes(manyEntriesFile(part1, part2));
    const QString entriesPath = dir.filePath(QStringLiteral("entries.res"));
    if (!testres::writeFile(entriesPath, entriesBytes))
        fail(QStringLiteral("cannot write %1").arg(entriesPath));
    const QString params = QStringLiteral("part1=%1 part2=%2 bytes=%3")
                                   .arg(part1)
                                   .arg(part2)
                                   .arg(entriesBytes.size());
    const std::unique_ptr<TestWindow> window = openedWindow(entriesPath, 2);
    QApplication::setActiveWindow(&window->window);
    QTreeWidgetItem *large = window->node(QStringLiteral("Weapon/0"));
    QTreeWidgetItem *small = window->node(QStringLiteral("Weapon/1"));
    print("entries_select", params,
            timed([&] { window->tree->setCurrentItem(small), settle(); },
                    [&] { window->tree->setCurrentItem(large), settle(); }));

    // Part1's area, then Part2's: Part1's entries grow down, Part2's across.
    const QList<EntryFormArea *> areas = window->window.findChildren<EntryFormArea *>();
    for (int table = 1; table <= 2; ++table) {
        EntryFormArea *area = areas.value(table - 1);
        QScrollBar *bar = table == 1 ? area->verticalScrollBar() : area->horizontalScrollBar();
        print(table == 1 ? "entries_end_part1" : "entries_end_part2", params,
                timed([&] { bar->setValue(0), settle(); },
                        [&] { bar->setValue(bar->maximum()), settle(); }));
        // The form in view that shows the last entry, and that entry's last field.
        const int count = area->entryCount();
        const int lastRow = table == 1 ? 2 : 9;
        QWidget *last = nullptr;
        for (QWidget *form :
                area->viewport()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            auto *field = valueAt<QLineEdit>(form, lastRow);
            if (form->isVisible() && field->text() == QString::number(count - 1))
                last = field;
        }
        if (!last)
            fail(QStringLiteral("the end of Part%1 does not show entry %2")
                            .arg(table)
                            .arg(count - 1));
        print(table == 1 ? "entries_tab_out_part1" : "entries_tab_out_part2", params,
                timed([&] { last->setFocus(), settle(); },
                        [&] { QTest::keyClick(last, Qt::Key_Tab), settle(); }));
        if (!QApplication::focusWidget() || area->isAncestorOf(QApplication::focusWidget()))
            fail(QStringLiteral("Tab from the last field of Part%1 stays in its area").arg(table));
    }
}

void BenchRunner::measureAddNewObject()
{
    // A file with room for one more object, opened anew for each run: later
    // adds to one document find room that the first one made.
    testres::File fewer = file;
    fewer.objects.removeLast();
    const QString addPath = dir.filePath(QStringLiteral("add.res"));
    if (!testres::writeFile(addPath, testres::toBytes(fewer)))
        fail(QStringLiteral("cannot write %1").arg(addPath));
    std::unique_ptr<TestWindow> window;
    const auto openAndSelectFolder = [&] {
        window.reset();
        window = openedWindow(addPath, objects - 1);
        window->select(QStringLiteral("Weapon"));
        settle();
    };
    print("add_object", QStringLiteral("objects=%1").arg(objects - 1),
            timed(openAndSelectFolder,
                    [&] { window->trigger(QStringLiteral("AddNewObject")), settle(); }));
    checkWindow(*window, objects, QStringLiteral("AddNewObject"));
}

void BenchRunner::measureJson()
{
    ResDocument document;
    if (!document.setFileName(path) || !document.load())
        fail(QStringLiteral("cannot load %1: %2").arg(path, document.errorString()));
    QByteArray json;
    print("export_json", fileParams,
            timed([&] { json.clear(); }, [&] { json = exportJson(document.contents); }));
    ResStruct imported;
    QString error;
    print("import_json", QStringLiteral("%1 json_bytes=%2").arg(fileParams).arg(json.size()),
            timed([&] { imported = ResStruct(); }, [&] { importJson(json, &imported, &error); }));
    if (!error.isEmpty() || exportJson(imported) != json)
        fail(QStringLiteral("importJson did not give back what exportJson wrote. %1").arg(error));

    // A mod of the file and an update of the game: each changes a field of every
    // hundredth object, and the update inserts an object near the start. Each run
    // reads the files, as drovanel-res does.
    ResDocument mod, update;
    mod.contents = update.contents = document.contents;
    for (int i = 0; i < objects; i += 100) {
        mod.contents.objects[i].String1.Text[0] = 'm';
        update.contents.objects[i].Part1.first().Value2 += 1;
    }
    update.contents.objects.insert(10, update.contents.objects.at(20));
    update.contents.objects.removeLast();
    const QString modPath = dir.filePath(QStringLiteral("mod.res"));
    const QString updatePath = dir.filePath(QStringLiteral("update.res"));
    if (!mod.setFileName(modPath) || !mod.save() || !update.setFileName(updatePath)
            || !update.save())
        fail(QStringLiteral("cannot write %1").arg(modPath));
    const auto read = [](const QString &path) {
        ResDocument document;
        if (!document.setFileName(path) || !document.load())
            fail(QStringLiteral("cannot load %1: %2").arg(path, document.errorString()));
        return document.contents;
    };
    QStringList lines;
    print("diff", fileParams,
            timed([&] { lines.clear(); },
                    [&] { lines = diffContents(read(path), read(modPath)); }));
    if (lines.size() != (objects + 99) / 100)
        fail(QStringLiteral("diff found %1 changes").arg(lines.size()));
    MergeResult merged;
    print("merge", fileParams,
            timed([&] { merged = MergeResult(); },
                    [&] {
                        merged = mergeContents(
                                read(path), read(modPath), read(updatePath), MergePreference::None);
                    }));
    if (!merged.conflicts.isEmpty() || merged.contents.objects.size() != objects)
        fail(QStringLiteral("the merge met conflicts: %1").arg(merged.conflicts.value(0)));
}

QString BenchRunner::probe(const QStringList &environment) const
{
    QProcess probe;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const QString &variable : environment)
        variables.insert(
                variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    probe.setProcessEnvironment(variables);
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--memory-probe"), path, QString::number(objects) });
    probe.waitForFinished(-1);
    return QString::fromLatin1(probe.readAllStandardOutput());
}

namespace {

double valueIn(const QString &status, const char *key)
{
    const QRegularExpression line(QStringLiteral("%1:\\s*([\\d.]+)").arg(QLatin1String(key)));
    return line.match(status).captured(1).toDouble();
}

} // namespace

// Each run opens the file in a new process, as a user does: without the memory
// of other figures, nor memory that an earlier document freed for it to reuse.
void BenchRunner::measureMemory()
{
    QVector<double> opens, peakMib, openMib, virtualMib;
    for (int run = 0; run < repeat; ++run) {
        const QString status = probe({});
        if (valueIn(status, "VmHWM") <= 0)
            fail(QStringLiteral("the memory probe failed"));
        opens.append(valueIn(status, "Open"));
        // The peak resident size: what the open took at its most.
        peakMib.append(valueIn(status, "VmHWM") / 1024);
        openMib.append(valueIn(status, "VmRSS") / 1024);
        virtualMib.append(valueIn(status, "VmSize") / 1024);
    }
    print("open_cold", fileParams, opens);
    std::printf("bench name=memory %s rss_open_mib=%.1f rss_peak_mib=%.1f vsz_mib=%.1f runs=%d\n",
            qPrintable(fileParams), median(openMib), median(peakMib), median(virtualMib), repeat);
}

// The same on an X server of its own, where Xvfb is installed: what starting
// the editor takes, and its resident size then and once the file is open.
void BenchRunner::measureX11()
{
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
            { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                    QStringLiteral("1280x1024x24") });
    // Xvfb writes its display number once it takes connections.
    if (!xvfb.waitForStarted() || !xvfb.waitForReadyRead(30000)) {
        std::printf("bench name=x11 skipped=\"no Xvfb\"\n");
        return;
    }
    const QString display = QLatin1Char(':') + QString::fromLatin1(xvfb.readLine()).trimmed();
    QVector<double> starts, startMib, openMib;
    for (int run = 0; run < repeat; ++run) {
        const QString status = probe(
                { QStringLiteral("DISPLAY=") + display, QStringLiteral("QT_QPA_PLATFORM=xcb") });
        if (valueIn(status, "VmRSS") <= 0)
            fail(QStringLiteral("the memory probe failed on the X server %1").arg(display));
        starts.append(valueIn(status, "Start"));
        startMib.append(valueIn(status, "StartRss") / 1024);
        openMib.append(valueIn(status, "VmRSS") / 1024);
    }
    xvfb.terminate();
    xvfb.waitForFinished();
    const QString integration =
            qEnvironmentVariable("QT_XCB_GL_INTEGRATION", QStringLiteral("none"));
    print("x11_start", fileParams + QStringLiteral(" gl=") + integration, starts);
    std::printf("bench name=x11_memory %s gl=%s rss_start_mib=%.1f rss_open_mib=%.1f runs=%d\n",
            qPrintable(fileParams), qPrintable(integration), median(startMib), median(openMib),
            repeat);
}

int BenchRunner::memoryProbe(const QString &path, int objects, const QElapsedTimer &sinceStart)
{
    const std::unique_ptr<TestWindow> window = shownWindow();
    const double startMs = double(sinceStart.nsecsElapsed()) / 1e6;
    const double startRss = valueIn(
            QString::fromLatin1(testres::readAll(QStringLiteral("/proc/self/status"))), "VmRSS");
    const double ms = msOf([&] { window->open(path), settle(); });
    checkWindow(*window, objects, QStringLiteral("Open"));
    std::printf("Start: %.3f ms\nStartRss: %.0f kB\nOpen: %.3f ms\n%s", startMs, startRss, ms,
            testres::readAll(QStringLiteral("/proc/self/status")).constData());
    return 0;
}

namespace {

struct ChildFigures
{
    double cpuMs;
    double peakMib;
    int exitCode;
};

// Runs the program to its end, its output to /dev/null, and measures the CPU
// time (user and system) and peak resident memory of that process alone.
ChildFigures runChild(const QString &program, const QStringList &arguments)
{
    QVector<QByteArray> encoded { QFile::encodeName(program) };
    for (const QString &argument : arguments)
        encoded.append(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execv(argv.front(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage = {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child)
        fail(QStringLiteral("cannot run %1").arg(program));
    const auto ms = [](const timeval &time) {
        return time.tv_sec * 1000.0 + time.tv_usec / 1000.0;
    };
    return { ms(usage.ru_utime) + ms(usage.ru_stime), usage.ru_maxrss / 1024.0,
        WIFEXITED(status) ? WEXITSTATUS(status) : -1 };
}

// Three sides of a merge of three objects with a million Part1 entries between
// them: the mod and the update each change every hundredth entry.
void writeMillionEntrySides(const QString &base, const QString &ours, const QString &theirs)
{
    testres::File file;
    file.objects.resize(3);
    for (int i = 0; i < 3; ++i) {
        file.objects[i].id = i;
        file.objects[i].part1.resize(333334);
    }
    testres::File mod = file, update = file;
    for (int i = 0; i < 3; ++i) {
        for (int entry = 0; entry < 333334; entry += 100) {
            mod.objects[i].part1[entry][1] = 1;
            update.objects[i].part1[entry + 50][2] = 2;
        }
    }
    if (!testres::writeFile(base, testres::toBytes(file))
            || !testres::writeFile(ours, testres::toBytes(mod))
            || !testres::writeFile(theirs, testres::toBytes(update)))
        fail(QStringLiteral("cannot write %1").arg(base));
}

} // namespace

void BenchRunner::measureCli()
{
    if (!QFileInfo(resTool).isExecutable()) {
        std::printf("bench name=cli skipped=\"no %s\"\n", qPrintable(resTool));
        return;
    }
    // A mod and an update of the file, as for the in-process diff and merge.
    testres::File mod = file, update = file;
    for (int i = 0; i < objects; i += 100) {
        mod.objects[i].strings[0][0] = 'm';
        update.objects[i].part1.first()[2] += 1;
    }
    update.objects.insert(10, update.objects.at(20));
    update.objects.removeLast();
    const auto file = [this](const char *name) { return dir.filePath(QLatin1String(name)); };
    if (!testres::writeFile(file("cli-mod.res"), testres::toBytes(mod))
            || !testres::writeFile(file("cli-update.res"), testres::toBytes(update)))
        fail(QStringLiteral("cannot write %1").arg(file("cli-mod.res")));
    writeMillionEntrySides(
            file("million-base.res"), file("million-mod.res"), file("million-update.res"));
    if (runChild(resTool, { QStringLiteral("export"), path, file("cli.json") }).exitCode != 0)
        fail(QStringLiteral("drovanel-res export failed"));

    const struct
    {
        const char *name;
        QStringList arguments;
        int exitCode;
    } commands[] = {
        { "cli_check", { QStringLiteral("check"), path }, 0 },
        { "cli_export", { QStringLiteral("export"), path, file("cli-out.json") }, 0 },
        { "cli_import", { QStringLiteral("import"), file("cli.json"), file("cli-out.res") }, 0 },
        { "cli_diff", { QStringLiteral("diff"), path, file("cli-mod.res") }, 1 },
        { "cli_merge",
                { QStringLiteral("merge"), path, file("cli-mod.res"), file("cli-update.res"),
                        QStringLiteral("-o"), file("cli-merged.res") },
                0 },
        { "cli_merge_million_entries",
                { QStringLiteral("merge"), file("million-base.res"), file("million-mod.res"),
                        file("million-update.res"), QStringLiteral("-o"),
                        file("million-merged.res") },
                0 },
    };
    for (const auto &command : commands) {
        QVector<double> cpu, peak;
        for (int run = 0; run < repeat; ++run) {
            const ChildFigures figures = runChild(resTool, command.arguments);
            if (figures.exitCode != command.exitCode) {
                fail(QStringLiteral("%1 exited %2")
                                .arg(QLatin1String(command.name))
                                .arg(figures.exitCode));
            }
            cpu.append(figures.cpuMs);
            peak.append(figures.peakMib);
        }
        std::sort(cpu.begin(), cpu.end());
        std::sort(peak.begin(), peak.end());
        std::printf("bench name=%s %s cpu_median_ms=%.1f cpu_min_ms=%.1f peak_median_mib=%.1f "
                    "runs=%d\n",
                command.name, qPrintable(fileParams), cpu.at(cpu.size() / 2), cpu.first(),
                peak.at(peak.size() / 2), repeat);
    }
}
