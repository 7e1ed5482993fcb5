// drovanel-res at the edges of the file system, as a modder meets them: devices
// and pipes, owners and modes, links, a full disk and failing system calls. A
// failure is reported with what the system said, and the file on disk stays
// as it was.

#include "resbytes.h"

#include <QtTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

class TestFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QByteArray res, json, out, err;

    QString path(const QString &name) const { return dir.filePath(name); }

    // Runs drovanel-res in the folder, prefixed by another program (strace)
    // when given; a crash or a hang gives exit code -1.
    int run(const QStringList &arguments, const QStringList &prefix = {})
    {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        // LeakSanitizer, in the sanitizers' build, stops the threads of the
        // process it checks as a tracer would, which a traced process forbids.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
        if (!prefix.isEmpty())
            process.setProcessEnvironment(environment);
        const QStringList command = prefix + QStringList(DROVANEL_RES) + arguments;
        process.start(command.first(), command.mid(1));
        const bool ok = process.waitForFinished() && process.exitStatus() == QProcess::NormalExit;
        out = process.readAllStandardOutput();
        err = process.readAllStandardError();
        return ok ? process.exitCode() : -1;
    }

    static struct stat statusOf(const QString &path)
    {
        struct stat status = {};
        ::lstat(QFile::encodeName(path).constData(), &status);
        return status;
    }

private slots:
    void initTestCase()
    {
        testres::File file = testres::allKinds();
        file.objects.resize(5);
        file.trailing = "trailing";
        res = testres::toBytes(file);
        QVERIFY(testres::writeFile(path("in.res"), res));
        QCOMPARE(run({ "export", "in.res", "in.json" }), 0);
        json = testres::readAll(path("in.json"));
    }

    // A device or a pipe given as the output is written into, never replaced;
    // a pipe is read as an input, a device is not.
    void devicesAndPipes()
    {
        if (::geteuid() != 0)
            QSKIP("making a device node takes root");
        QVERIFY(::mknod(QFile::encodeName(path("null")).constData(), S_IFCHR | 0666, makedev(1, 3))
                == 0);
        QCOMPARE(run({ "export", "in.res", "null" }), 0);
        QVERIFY(S_ISCHR(statusOf(path("null")).st_mode));
        QCOMPARE(run({ "check", "null" }), 1);
        QCOMPARE(out, "null: it is not a regular file or a pipe.\n");

        for (const char *fifo : { "out.fifo", "in.fifo" })
            QCOMPARE(::mkfifo(QFile::encodeName(path(fifo)).constData(), 0600), 0);
        QProcess reader;
        reader.start("cat", { path("out.fifo") });
        QCOMPARE(run({ "export", "in.res", "out.fifo" }), 0);
        QVERIFY(reader.waitForFinished());
        QCOMPARE(reader.readAllStandardOutput(), json);
        QProcess writer;
        writer.start("cp", { path("in.res"), path("in.fifo") });
        QCOMPARE(run({ "check", "in.fifo" }), 0);
        QCOMPARE(out, "in.fifo: ok, 5 objects\n");
        QVERIFY(writer.waitForFinished() && writer.exitCode() == 0);
        QVERIFY(S_ISFIFO(statusOf(path("out.fifo")).st_mode));
    }

    // Standard output named as a file is written into; a name that the system's
    // encoding cannot give back as its bytes is refused, not taken for another.
    void namesOfOutputs()
    {
        QCOMPARE(run({ "export", "in.res", "/dev/stdout" }), 0);
        QCOMPARE(out, json);
        QProcess shell;
        shell.setWorkingDirectory(dir.path());
        shell.start("sh",
                { "-c",
                        QStringLiteral("'%1' import in.json \"$(printf '\\377\\376.res')\"")
                                .arg(DROVANEL_RES) });
        QVERIFY(shell.waitForFinished());
        QCOMPARE(shell.exitCode(), 2);
        QCOMPARE(shell.readAllStandardError().split('\n').first(),
                "drovanel-res: the name \"\\xff\\xfe.res\" cannot be represented in the system's "
                "encoding of file names.");
        QCOMPARE(QDir(dir.path()).entryList({ "*.res" }, QDir::Files), QStringList { "in.res" });
        // The longest name, with no room for a suffix of its temporary file.
        const QString longest = QString(249, 'n') + ".res";
        QCOMPARE(run({ "import", "in.json", longest }), 0);
        QCOMPARE(testres::readAll(path(longest)), res);
    }

    // A file its user may not write is kept, though its folder would let it be
    // replaced.
    void readOnlyFileKept()
    {
        if (::geteuid() != 0 || QStandardPaths::findExecutable("setpriv").isEmpty())
            QSKIP("running as another user takes root and setpriv");
        const QString target = path("shared/ro.res");
        QVERIFY(QDir().mkpath(path("shared")) && testres::writeFile(target, "old"));
        for (const auto &[name, mode] : { std::pair { dir.path(), 0755 },
                     std::pair { path("shared"), 0777 }, std::pair { target, 0444 } })
            QCOMPARE(::chmod(QFile::encodeName(name).constData(), mode_t(mode)), 0);
        QCOMPARE(run({ "import", "in.json", "shared/ro.res" },
                         { "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups" }),
                1);
        QCOMPARE(err, "Cannot write shared/ro.res: Permission denied\n");
        QCOMPARE(testres::readAll(target), QByteArray("old"));
    }

    // The file written in place of another keeps its owner, group and mode,
    // set-group-ID bit and all.
    void ownerAndModeKept()
    {
        if (::geteuid() != 0)
            QSKIP("giving a file to another owner takes root");
        const QString target = path("owned.res");
        QVERIFY(testres::writeFile(target, "old"));
        const QByteArray name = QFile::encodeName(target);
        QVERIFY(::chown(name.constData(), 65534, 65534) == 0
                && ::chmod(name.constData(), 02755) == 0);
        QCOMPARE(run({ "import", "in.json", "owned.res" }), 0);
        const struct stat status = statusOf(target);
        QCOMPARE(QString("%1:%2 %3")
                         .arg(status.st_uid)
                         .arg(status.st_gid)
                         .arg(status.st_mode & 07777, 0, 8),
                "65534:65534 2755");
        QCOMPARE(testres::readAll(target), res);
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("injected");
        QTest::addColumn<QByteArray>("said");
        const QStringList import { "import", "in.json", "old.res" };
        QTest::newRow("failed sync") << import << "fdatasync:error=EIO"
                                     << QByteArray("Cannot write old.res: Input/output error\n");
        QTest::newRow("failed fchmod")
                << import << "fchmod:error=EPERM"
                << QByteArray("Cannot write old.res: Operation not permitted\n");
        QTest::newRow("a loop of links")
                << QStringList { "import", "in.json", "loop.res" } << QString()
                << QByteArray("Cannot write loop.res: Too many levels of "
                              "symbolic links\n");
        QTest::newRow("a file of 3 GB")
                << QStringList { "check", "huge.res" } << QString() << QByteArray();
    }

    // Whatever call fails, the command says what the system said and exits 1,
    // and the file it would have written is as it was.
    void failures()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, injected);
        QFETCH(QByteArray, said);
        QVERIFY(testres::writeFile(path("old.res"), "old"));
        QFile::link("loop-b.res", path("loop.res"));
        QFile::link("loop.res", path("loop-b.res"));
        QFile huge(path("huge.res"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(3LL << 30));
        QStringList prefix;
        if (!injected.isEmpty()) {
            if (QStandardPaths::findExecutable("strace").isEmpty())
                QSKIP("strace injects the failure");
            prefix = QStringList { "strace", "-f", "-o", "/dev/null", "-e",
                "trace=" + injected.section(':', 0, 0), "-e", "inject=" + injected };
        }
        QCOMPARE(run(command, prefix), 1);
        if (command.first() == "check") {
            QCOMPARE(out,
                    "huge.res: the file holds 3221225472 bytes, more than the 2000000000 bytes "
                    "that can be opened.\n");
        } else {
            QCOMPARE(err, said);
        }
        QCOMPARE(testres::readAll(path("old.res")), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList({ "*.res.*" }), QStringList());
    }

    // A small file system filled up: the disk is really full.
    void fullFileSystem()
    {
        const QString small = path("small");
        QVERIFY(QDir().mkpath(small));
        if (::mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs", 0, "size=8k") != 0)
            QSKIP("mounting a small file system takes root, and a system that allows it");
        QVERIFY(testres::writeFile(small + "/old.res", "old"));
        testres::File large;
        large.trailing = QByteArray(64 * 1024, 'x');
        QVERIFY(testres::writeFile(path("large.res"), testres::toBytes(large)));
        const int exitCode =
                run({ "merge", "large.res", "large.res", "large.res", "-o", "small/old.res" });
        const QByteArray kept = testres::readAll(small + "/old.res");
        const QStringList left = QDir(small).entryList(QDir::Files);
        ::umount(QFile::encodeName(small).constData());
        QCOMPARE(exitCode, 2);
        QCOMPARE(err, "Cannot write small/old.res: No space left on device\n");
        QCOMPARE(kept, QByteArray("old"));
        QCOMPARE(left, QStringList { "old.res" });
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
