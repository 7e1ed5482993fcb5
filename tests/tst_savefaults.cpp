// Every way a save can fail leaves the file on disk as it was, keeps the
// document in memory, and shows a warning with the reason; once the cause is
// gone the next save succeeds. Saves that succeed through a symbolic link or
// over a file with its own permissions keep the link and the permissions.

#include "resbytes.h"
#include "resdocument.h"
#include "testwindow.h"
#include "uimypart0.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum Fault { DirectoryVanished, TargetIsDirectory, ReadOnlyDirectory };

const qint32 EditedId = 4711;

// Object 0 of the generated file is the first row of "Weapon"; the tests set its
// identifier to EditedId.
testres::File originalFile()
{
    return testres::generateFile(7, 12, false);
}

QByteArray editedBytes()
{
    testres::File file = originalFile();
    file.objects[0].id = EditedId;
    return testres::toBytes(file);
}

// What lies under root: every entry with its kind, permissions and contents.
QMap<QString, QString> snapshot(const QString &root)
{
    QMap<QString, QString> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
            QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString state = info.isSymLink() ? QStringLiteral("link to ") + info.symLinkTarget()
                : info.isDir()                 ? QStringLiteral("directory")
                               : QString::fromLatin1(testres::readAll(info.filePath()).toBase64());
        entries.insert(QDir(root).relativeFilePath(info.filePath()),
                state + QStringLiteral(" mode %1").arg(int(info.permissions()), 0, 16));
    }
    return entries;
}

mode_t modeOf(const QString &path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    return status.st_mode & 07777;
}

// Opens path through the dialog and types the identifier of its first weapon anew.
bool openAndEdit(TestWindow &w, const QString &path)
{
    w.open(path);
    w.tree->setCurrentItem(w.node("Weapon/0"));
    auto *id = valueAt<QLineEdit>(w.form<UiMyPart0>(), 1);
    if (!id)
        return false;
    QTest::keyClick(id, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(id, QString::number(EditedId));
    return w.tree->topLevelItem(0)->text(0) == QFileInfo(path).baseName();
}

} // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void fileSizeLimit_data();
    void fileSizeLimit();
    void windowFault_data();
    void windowFault();
    void successfulSave_data();
    void successfulSave();
};

void TestSaveFaults::fileSizeLimit_data()
{
    QTest::addColumn<int>("limit");
    const int size = editedBytes().size();
    QTest::newRow("no byte may be written") << 0;
    QTest::newRow("limit inside the header") << 30;
    QTest::newRow("limit in the middle of the objects") << size / 2;
    QTest::newRow("limit one byte short of the file") << size - 1;
}

// A full disk, or a file-size limit, stops the save in the middle of writing.
// The limit is set in a child process, which saves the document it shares with
// the parent at the moment of the fork.
void TestSaveFaults::fileSizeLimit()
{
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("item.res"));
    QVERIFY(testres::writeFile(path, testres::toBytes(originalFile())));
    ResDocument document;
    QVERIFY(document.setFileName(path));
    QVERIFY(document.load());
    document.contents.objects[0].EntryTypeTypeID = EditedId;
    const QMap<QString, QString> before = snapshot(dir.path());

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        struct rlimit fileSize = {};
        ::getrlimit(RLIMIT_FSIZE, &fileSize);
        fileSize.rlim_cur = rlim_t(limit);
        // Writing past the limit then fails with EFBIG instead of killing the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const bool saved = ::setrlimit(RLIMIT_FSIZE, &fileSize) == 0 && document.save();
        ::_exit(saved ? 1 : document.errorString().isEmpty() ? 2 : 0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status), "the saving child died");
    QVERIFY2(WEXITSTATUS(status) != 1, "the save succeeded despite the file-size limit");
    QVERIFY2(WEXITSTATUS(status) != 2, "the failed save gives no reason");

    QCOMPARE(snapshot(dir.path()), before);
    QVERIFY2(document.save(), qPrintable(document.errorString()));
    QCOMPARE(testres::readAll(path), editedBytes());
}

void TestSaveFaults::windowFault_data()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("directory vanished") << int(DirectoryVanished);
    QTest::newRow("target is a directory") << int(TargetIsDirectory);
    QTest::newRow("read-only directory") << int(ReadOnlyDirectory);
}

void TestSaveFaults::windowFault()
{
    QFETCH(int, fault);
    TestWindow w;
    QTemporaryDir &dir = w.dir;
    const QString folder = dir.filePath(QStringLiteral("mod"));
    const QString path = folder + QStringLiteral("/item.res");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(testres::writeFile(path, testres::toBytes(originalFile())));
    QVERIFY(openAndEdit(w, path));

    // Permissions do not bind root, so there a read-only directory would accept
    // the save; its stand-in is a directory that a regular file has replaced.
    const bool permissionsBind = ::geteuid() != 0;
    const QString moved = dir.filePath(QStringLiteral("mod.moved"));
    switch (Fault(fault)) {
    case DirectoryVanished:
        QVERIFY(QDir(folder).removeRecursively());
        break;
    case TargetIsDirectory:
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path));
        break;
    case ReadOnlyDirectory:
        if (permissionsBind) {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        } else {
            qInfo("running as root, where permissions do not bind: the directory is replaced "
                  "by a regular file instead");
            QVERIFY(QDir().rename(folder, moved));
            QVERIFY(testres::writeFile(folder, "not a directory"));
        }
        break;
    }
    const QMap<QString, QString> before = snapshot(dir.path());
    w.save();

    QCOMPARE(snapshot(dir.path()), before);
    QCOMPARE(w.watcher.boxes.size(), 1);
    const ModalWatcher::Box box = w.watcher.boxes.first();
    QCOMPARE(box.title, QStringLiteral("Warning"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    const QString prefix = QStringLiteral("Cannot save %1: ").arg(QDir::toNativeSeparators(path));
    QVERIFY2(box.text.startsWith(prefix), qPrintable(box.text));
    QVERIFY2(box.text.size() > prefix.size(), "the warning gives no reason");
    QCOMPARE(valueAt<QLineEdit>(w.form<UiMyPart0>(), 1)->text(), QString::number(EditedId));

    switch (Fault(fault)) {
    case DirectoryVanished:
        QVERIFY(QDir().mkpath(folder));
        break;
    case TargetIsDirectory:
        QVERIFY(QDir().rmdir(path));
        break;
    case ReadOnlyDirectory:
        if (permissionsBind) {
            QVERIFY(QFile::setPermissions(
                    folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        } else {
            QVERIFY(QFile::remove(folder));
            QVERIFY(QDir().rename(moved, folder));
        }
        break;
    }
    w.save();
    QCOMPARE(w.watcher.boxes.size(), 1);
    QCOMPARE(testres::readAll(path), editedBytes());
}

void TestSaveFaults::successfulSave_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("private to the owner") << 0600 << false;
    QTest::newRow("readable by the group") << 0640 << false;
    QTest::newRow("readable by others, not the group") << 0604 << false;
    QTest::newRow("executable bits") << 0751 << false;
    QTest::newRow("through a symbolic link") << 0640 << true;
}

// A save that succeeds keeps the file's permissions, and through a symbolic
// link replaces the file it points to while the link stays as it was.
void TestSaveFaults::successfulSave()
{
    QFETCH(int, mode);
    QFETCH(bool, throughLink);
    TestWindow w;
    QVERIFY(QDir(w.dir.path()).mkdir(QStringLiteral("data")));
    const QString target =
            w.writeFile(QStringLiteral("data/item.res"), testres::toBytes(originalFile()));
    QCOMPARE(::chmod(QFile::encodeName(target).constData(), mode_t(mode)), 0);
    const QByteArray link = QFile::encodeName(w.dir.filePath(QStringLiteral("shortcut.res")));
    if (throughLink)
        QCOMPARE(::symlink("data/item.res", link.constData()), 0);
    QVERIFY(openAndEdit(w, throughLink ? QFile::decodeName(link) : target));
    w.save();

    QVERIFY(w.watcher.boxes.isEmpty());
    QCOMPARE(testres::readAll(target), editedBytes());
    QCOMPARE(int(modeOf(target)), mode);
    QCOMPARE(snapshot(w.dir.path()).size(), throughLink ? 3 : 2);
    if (throughLink) {
        char linkText[64] = {};
        QVERIFY(::readlink(link.constData(), linkText, sizeof linkText - 1) > 0);
        QCOMPARE(linkText, "data/item.res");
    }
}

QTEST_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
