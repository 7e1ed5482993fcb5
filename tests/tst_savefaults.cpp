// A save that fails leaves the file on disk as it was, keeps the document and
// says why.

#include "resbytes.h"
#include "resdocument.h"
#include "testwindow.h"
#include "uimypart0.h"

#include <QLineEdit>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const testres::File Original = testres::generateFile(7, 12, false);

// The first weapon, object 0, with the identifier the tests type.
QByteArray editedBytes()
{
    testres::File file = Original;
    file.objects[0].id = 4711;
    return testres::toBytes(file);
}

void openAndEdit(TestWindow &w, const QString &path)
{
    w.open(path);
    w.select("Weapon/0");
    retype(valueAt(w.form<UiMyPart0>(), 1), "4711");
}

} // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void fileSizeLimit_data();
    void fileSizeLimit();
    void failedSaveInWindow_data();
    void failedSaveInWindow();
};

void TestSaveFaults::fileSizeLimit_data()
{
    QTest::addColumn<int>("limit");
    QTest::newRow("no byte may be written") << 0;
    QTest::newRow("limit one byte short of the file") << editedBytes().size() - 1;
}

// A full disk, or a file-size limit, stops the save in the middle of writing.
// The limit is set in a child process, which saves the document it shares with
// the parent and reports by its exit code.
void TestSaveFaults::fileSizeLimit()
{
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString path = dir.filePath("item.res");
    QVERIFY(testres::writeFile(path, testres::toBytes(Original)));
    ResDocument document;
    QVERIFY(document.setFileName(path) && document.load());
    document.contents.objects[0].EntryTypeTypeID = 4711;

    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit fileSize = { rlim_t(limit), RLIM_INFINITY };
        // Writing past the limit then fails with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const bool saved = ::setrlimit(RLIMIT_FSIZE, &fileSize) == 0 && document.save();
        ::_exit(saved || document.errorString().isEmpty() ? 1 : 0);
    }
    int status = -1;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0,
            "the save was not refused with a reason");
    QCOMPARE(testres::readAll(path), testres::toBytes(Original));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { "item.res" });
    QVERIFY(document.save());
    QCOMPARE(testres::readAll(path), editedBytes());
}

void TestSaveFaults::failedSaveInWindow_data()
{
    QTest::addColumn<bool>("directoryVanishes");
    QTest::newRow("the directory vanished") << true;
    QTest::newRow("a directory took the file's name") << false;
}

// Permissions do not bind root, which runs CI, so the faults are ones that do.
void TestSaveFaults::failedSaveInWindow()
{
    QFETCH(bool, directoryVanishes);
    TestWindow w;
    const QString folder = w.dir.filePath("mod");
    const QString path = folder + "/item.res";
    QVERIFY(QDir().mkpath(folder) && testres::writeFile(path, testres::toBytes(Original)));
    openAndEdit(w, path);
    if (directoryVanishes)
        QVERIFY(QDir(folder).removeRecursively());
    else
        QVERIFY(QFile::remove(path) && QDir().mkpath(path));
    w.save();

    QCOMPARE(QDir(folder).exists(), !directoryVanishes);
    QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            directoryVanishes ? QStringList() : QStringList { "item.res" });
    QCOMPARE(w.watcher.boxes.size(), 1);
    const QString prefix = QString("Cannot save %1: ").arg(QDir::toNativeSeparators(path));
    QVERIFY2(w.watcher.boxes.first().text.startsWith(prefix), qPrintable(w.watcher.boxes[0].text));
    QVERIFY(w.watcher.boxes.first().text.size() > prefix.size() + 3);

    // The edit is still there to be saved once the cause is gone.
    QVERIFY(directoryVanishes ? QDir().mkpath(folder) : QDir().rmdir(path));
    w.save();
    QCOMPARE(w.watcher.boxes.size(), 1);
    QCOMPARE(testres::readAll(path), editedBytes());
}

QTEST_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
