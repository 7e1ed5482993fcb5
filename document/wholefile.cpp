#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString tooLarge(qint64 size)
{
    return WholeFile::tr("the file holds %1 bytes, more than the %2 bytes that can be opened.")
            .arg(size)
            .arg(WholeFile::MaxBytes);
}

} // namespace

#ifdef Q_OS_UNIX

namespace {

QString systemError(int error = errno)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

FileStamp stampOfStatus(const struct stat &status)
{
    return { qint64(status.st_size),
        qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
        quint64(status.st_ino) };
}

// Closes the descriptor when it goes, unless it was closed and checked.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : fd(fd)
    {
    }
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    // Closes it, reporting the close's own failure: the last write may fail only
    // then.
    bool close()
    {
        const int closing = fd;
        fd = -1;
        return ::close(closing) == 0;
    }

    int fd;
};

// Reads to the end; sizeHint, the size of a regular file, spares growing the
// array as it fills.
bool readAll(int fd, qint64 sizeHint, QByteArray *bytes, QString *error)
{
    QByteArray read;
    read.reserve(int(qMin(sizeHint, WholeFile::MaxBytes)));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *error = systemError();
            return false;
        }
        if (got == 0)
            break;
        if (read.size() + got > WholeFile::MaxBytes) {
            *error = tooLarge(read.size() + got);
            return false;
        }
        read.append(chunk, int(got));
    }
    *bytes = read;
    return true;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// The file that a path naming nothing yet stands for: where a link at the path,
// or the link it names, points. False with errno ELOOP for a loop.
bool followLinks(QByteArray &path)
{
    // As many as the system itself follows.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status;
        if (::lstat(path.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            return true;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t size = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (size < 0)
            return false;
        target.truncate(int(size));
        if (!target.startsWith('/')) {
            const int slash = path.lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path.left(slash + 1));
        }
        path = target;
    }
    errno = ELOOP;
    return false;
}

// The mode that a new file gets: what the umask leaves of rw-rw-rw-. Reading the
// umask sets it, so it is set straight back.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Replaces the regular file at path (or creates it) by a temporary file beside
// it, once every byte is on the disk.
bool replaceFile(const QByteArray &path, const struct stat *old, const QByteArray &bytes,
        QString *error, FileStamp *stamp)
{
    // Named after the file, within the longest name that a folder takes: a name
    // that fits may have no room for the suffix.
    const int slash = path.lastIndexOf('/');
    const int tooLong = path.size() - slash - 1 + int(sizeof ".XXXXXX") - 1 - NAME_MAX;
    QByteArray temporary = path.left(path.size() - qMax(0, tooLong)) + ".XXXXXX";
    Descriptor file(::mkstemp(temporary.data()));
    if (file.fd < 0) {
        *error = systemError();
        return false;
    }
    const auto fail = [&](int cause) {
        ::unlink(temporary.constData());
        *error = systemError(cause);
        return false;
    };
    if (!writeAll(file.fd, bytes))
        return fail(errno);
    // The owner first: changing it may clear the set-user and set-group bits that
    // the mode then sets again. Only root may give a file away; anyone may keep a
    // group they belong to.
    struct stat created;
    if (::fstat(file.fd, &created) != 0)
        return fail(errno);
    if (old && (old->st_uid != created.st_uid || old->st_gid != created.st_gid)) {
        if (::fchown(file.fd, old->st_uid, old->st_gid) != 0
                && (errno != EPERM || ::fchown(file.fd, uid_t(-1), old->st_gid) != 0)
                && errno != EPERM)
            return fail(errno);
    }
    if (::fchmod(file.fd, old ? old->st_mode & 07777 : newFileMode()) != 0)
        return fail(errno);
    if (::fdatasync(file.fd) != 0 || ::fstat(file.fd, &created) != 0)
        return fail(errno);
    if (stamp)
        *stamp = stampOfStatus(created);
    if (!file.close())
        return fail(errno);
    if (::rename(temporary.constData(), path.constData()) != 0)
        return fail(errno);
    // The new name is on the disk once its folder is.
    const QByteArray folder = slash < 0 ? QByteArray(".") : path.left(qMax(slash, 1));
    Descriptor directory(::open(folder.constData(), O_RDONLY | O_DIRECTORY));
    if (directory.fd >= 0 && ::fsync(directory.fd) != 0 && errno != EINVAL) {
        *error = systemError();
        return false;
    }
    return true;
}

} // namespace

bool WholeFile::read(
        const QString &path, Source source, QByteArray *bytes, QString *error, FileStamp *stamp)
{
    const QByteArray name = QFile::encodeName(path);
    // Looked at before it is opened: opening a pipe waits for a writer, and
    // opening a device may do what the device does.
    struct stat status;
    if (::stat(name.constData(), &status) != 0) {
        *error = systemError();
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        *error = systemError(EISDIR);
        return false;
    }
    const bool pipe = S_ISFIFO(status.st_mode);
    if (!S_ISREG(status.st_mode) && !(pipe && source == Source::FileOrPipe)) {
        *error = source == Source::FileOrPipe ? tr("it is not a regular file or a pipe.")
                                              : tr("it is not a regular file.");
        return false;
    }
    Descriptor file(::open(name.constData(), O_RDONLY | O_CLOEXEC));
    // What was opened may have taken the name's place since.
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0) {
        *error = systemError();
        return false;
    }
    if (S_ISFIFO(status.st_mode) != pipe || (!pipe && !S_ISREG(status.st_mode))) {
        *error = tr("it is not a regular file.");
        return false;
    }
    if (status.st_size > MaxBytes) {
        *error = tooLarge(status.st_size);
        return false;
    }
    if (stamp)
        *stamp = stampOfStatus(status);
    return readAll(file.fd, pipe ? 0 : status.st_size, bytes, error);
}

bool WholeFile::write(
        const QString &path, const QByteArray &bytes, QString *error, FileStamp *stamp)
{
    QByteArray name = QFile::encodeName(path);
    struct stat status;
    if (::stat(name.constData(), &status) != 0) {
        // A new file, or a link to one: it is made where the link points.
        if (errno != ENOENT || !followLinks(name)) {
            *error = systemError();
            return false;
        }
        return replaceFile(name, nullptr, bytes, error, stamp);
    }
    if (S_ISREG(status.st_mode)) {
        // The file itself is replaced, not a link to it. /proc/self/fd/1 is
        // such a link, to where standard output goes.
        char *real = ::realpath(name.constData(), nullptr);
        if (!real) {
            *error = systemError();
            return false;
        }
        const QByteArray file(real);
        std::free(real);
        // Its folder would let anyone who may write there replace it.
        if (::faccessat(AT_FDCWD, file.constData(), W_OK, AT_EACCESS) != 0) {
            *error = systemError();
            return false;
        }
        return replaceFile(file, &status, bytes, error, stamp);
    }
    if (S_ISDIR(status.st_mode)) {
        *error = systemError(EISDIR);
        return false;
    }
    // A device, pipe or socket: what it receives goes on; there is nothing to
    // replace and no disk to sync.
    Descriptor file(::open(name.constData(), O_WRONLY | O_CLOEXEC));
    if (file.fd < 0 || !writeAll(file.fd, bytes) || !file.close()) {
        *error = systemError();
        return false;
    }
    return true;
}

std::optional<FileStamp> WholeFile::stampOf(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return stampOfStatus(status);
}

#else

namespace {

FileStamp stampOfInfo(const QFileInfo &file)
{
    return { file.size(), file.lastModified().toMSecsSinceEpoch() * 1000000, 0 };
}

} // namespace

bool WholeFile::read(
        const QString &path, Source, QByteArray *bytes, QString *error, FileStamp *stamp)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    if (file.size() > MaxBytes) {
        *error = tooLarge(file.size());
        return false;
    }
    if (stamp)
        *stamp = stampOfInfo(QFileInfo(file));
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool WholeFile::write(
        const QString &path, const QByteArray &bytes, QString *error, FileStamp *stamp)
{
    QSaveFile out(path);
    // Qt 5's commit() drops an error from flushing its write buffer.
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()
            || !out.commit()) {
        *error = out.errorString();
        return false;
    }
    if (stamp)
        *stamp = stampOfInfo(QFileInfo(path));
    return true;
}

std::optional<FileStamp> WholeFile::stampOf(const QString &path)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return std::nullopt;
    return stampOfInfo(file);
}

#endif
