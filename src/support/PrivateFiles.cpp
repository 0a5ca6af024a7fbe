#include "support/PrivateFiles.h"

#include "support/FileNames.h"
#include "support/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using namespace Qt::StringLiterals;

constexpr mode_t privateFolderMode = 0700;
constexpr mode_t privateFileMode = 0600;

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

// mkdir's mode passes through the umask, which may take bits from the owner too.
bool makeOneFolder(const QString& path)
{
    const QByteArray name = encoded(path);
    if (::mkdir(name.constData(), privateFolderMode) == 0)
        return ::chmod(name.constData(), privateFolderMode) == 0;
    return errno == EEXIST && QFileInfo(path).isDir();
}

// Writes all of `bytes`, going on after a short write; false on the first failure (a full disk,
// a file-size limit, an I/O error).
bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
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

// Writes, syncs and closes the new file; the descriptor is closed in every case.
bool fillNewFile(int fd, const QByteArray& bytes)
{
    const bool filled =
        ::fchmod(fd, privateFileMode) == 0 && writeAll(fd, bytes) && ::fdatasync(fd) == 0;
    return ::close(fd) == 0 && filled;
}

// An existing entry may be replaced only when it is a regular file: lstat does not follow a
// link, so a link (even to a regular file) is refused. 0 when it may, else why not.
int refusalToReplace(const QByteArray& path)
{
    struct stat status = {};
    if (::lstat(path.constData(), &status) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISREG(status.st_mode))
        return 0;
    return S_ISLNK(status.st_mode) ? ELOOP : S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
}

// renameat2 refuses a taken name in the same step as the rename; a file system that does not
// offer that (EINVAL) gets a look first.
bool renameWithoutReplacing(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL)
        return false;
    struct stat status = {};
    if (::lstat(to.constData(), &status) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.constData(), to.constData()) == 0;
}
} // namespace

bool PrivateFiles::makeFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    const QString absolute = info.absoluteFilePath();
    const QString parent = QFileInfo(absolute).path();
    if (parent == absolute || info.exists() || !makeFolder(parent))
        return false;
    return makeOneFolder(absolute);
}

bool PrivateFiles::writeFile(const QString& path, const QByteArray& bytes)
{
    const int failure = replaceFile(path, bytes);
    if (failure != 0)
        qCWarning(lcStorage) << "cannot write" << path << ::strerror(failure);
    return failure == 0;
}

int PrivateFiles::replaceFile(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    const QByteArray target = encoded(info.absoluteFilePath());
    if (const int refusal = refusalToReplace(target))
        return refusal;
    // mkostemp makes the name unique and the file 0600, and never opens through a link.
    QByteArray temporary = encoded(info.absolutePath() + u"/."_s + info.fileName()) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    errno = 0;
    if (fillNewFile(fd, bytes) && ::rename(temporary.constData(), target.constData()) == 0)
        return 0;
    // A write that took nothing without an error still failed.
    const int failure = errno != 0 ? errno : EIO;
    ::unlink(temporary.constData());
    return failure;
}

QString PrivateFiles::moveAside(const QString& path, const QString& suffix)
{
    constexpr int attempts = 100;
    const QByteArray from = encoded(path);
    for (int number = 1; number <= attempts; ++number) {
        const QString candidate =
            path + suffix + (number == 1 ? QString() : u'-' + QString::number(number));
        if (renameWithoutReplacing(from, encoded(candidate)))
            return candidate;
        if (errno != EEXIST)
            return {};
    }
    return {};
}

bool PrivateFiles::liesDirectlyIn(const QString& path, const QString& folder)
{
    const QFileInfo info(path);
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    return info.isAbsolute() && !canonicalFolder.isEmpty() &&
           FileNames::isPlainFileName(info.fileName()) &&
           QFileInfo(info.absolutePath()).canonicalFilePath() == canonicalFolder;
}

bool PrivateFiles::removeFile(const QString& path, const QString& folder)
{
    struct stat status = {};
    if (::lstat(encoded(path).constData(), &status) != 0 && errno == ENOENT)
        return true;
    if (!liesDirectlyIn(path, folder)) {
        qCWarning(lcStorage) << "not removing" << path << ": outside" << folder;
        return false;
    }
    return ::unlink(encoded(path).constData()) == 0 || errno == ENOENT;
}
