#include "OvrelHub/store/FileTree.h"

#include "Platform/files/UniqueFd.h"

#include <QFile>
#include <QStringList>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <memory>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ovrel::FileTree {

namespace {

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

[[noreturn]] void fail(const QString& path, int error) {
    throw FileError(path, QString::fromLocal8Bit(std::strerror(error)));
}

// The names in a directory, "." and ".." left out.
QStringList entries(const QString& directory) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(nativePath(directory).constData()),
                                            &::closedir);
    if (!dir)
        fail(directory, errno);
    QStringList names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(QFile::decodeName(name));
        errno = 0;
    }
    if (errno != 0)
        fail(directory, errno);
    return names;
}

// Copies through user space: the way that works everywhere.
void copyByReading(int in, int out, const QString& from, const QString& to) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            fail(from, errno);
        if (got == 0)
            return;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0)
                fail(to, errno);
            done += put;
        }
    }
}

// Errors after which the kernel-side copy is not available for this pair of
// files, so the plain copy takes over from the start.
bool kernelCopyUnsupported(int error) {
    return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL ||
           error == EPERM || error == ETXTBSY || error == EBADF;
}

// The device whose files last failed to clone: a tree of thousands of files
// on tmpfs or ext4 need not ask for each of them.
std::atomic<dev_t> g_deviceWithoutClones{0};

// The file's bytes without passing them through user space: a shared-extent
// clone where the file system has one (btrfs, XFS), else copy_file_range.
void copyBytes(int in, int out, const struct stat& source, const QString& from,
               const QString& to) {
    if (source.st_size > 0 && g_deviceWithoutClones.load() != source.st_dev) {
        if (::ioctl(out, FICLONE, in) == 0)
            return;
        if (errno == EOPNOTSUPP || errno == ENOTTY || errno == EINVAL || errno == EXDEV ||
            errno == ENOSYS)
            g_deviceWithoutClones.store(source.st_dev);
    }
    qint64 copied = 0;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && copied == 0 && kernelCopyUnsupported(errno))
            break;
        if (n < 0)
            fail(from, errno);
        // Nothing copied at all: an empty file, or a pseudo file whose length
        // the kernel does not know; reading settles which.
        if (n == 0 && copied == 0)
            break;
        if (n == 0)
            return;
        copied += n;
    }
    copyByReading(in, out, from, to);
}

void copyFileContents(const QString& from, const QString& to, mode_t mode) {
    const UniqueFd in(::open(nativePath(from).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!in.valid())
        fail(from, errno);
    struct stat status {};
    if (::fstat(in.get(), &status) != 0)
        fail(from, errno);
    if (!S_ISREG(status.st_mode))
        throw FileError(from, QStringLiteral("not a regular file"));
    const UniqueFd out(::open(nativePath(to).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (!out.valid())
        fail(to, errno);
    copyBytes(in.get(), out.get(), status, from, to);
    // The mode given to open() is masked by the umask; the copy keeps the
    // original's bits (an executable stays executable).
    if (::fchmod(out.get(), mode) != 0)
        fail(to, errno);
}

void copyEntry(const QString& from, const QString& to, int depth) {
    if (depth > kMaxDepth)
        throw FileError(from, QStringLiteral("nested too deeply"));
    struct stat status {};
    if (::lstat(nativePath(from).constData(), &status) != 0)
        fail(from, errno);
    const mode_t permissions = status.st_mode & kInstalledPermissions;
    if (S_ISLNK(status.st_mode)) {
        QByteArray target(static_cast<qsizetype>(status.st_size) + 1, Qt::Uninitialized);
        const ssize_t length = ::readlink(nativePath(from).constData(), target.data(),
                                          static_cast<size_t>(target.size()));
        if (length < 0)
            fail(from, errno);
        if (length >= target.size())
            throw FileError(from, QStringLiteral("link changed while it was copied"));
        target.truncate(length);
        if (::symlink(target.constData(), nativePath(to).constData()) != 0)
            fail(to, errno);
    } else if (S_ISDIR(status.st_mode)) {
        if (::mkdir(nativePath(to).constData(), S_IRWXU) != 0)
            fail(to, errno);
        for (const QString& name : entries(from))
            copyEntry(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name, depth + 1);
        if (::chmod(nativePath(to).constData(), permissions | S_IRWXU) != 0)
            fail(to, errno);
    } else if (S_ISREG(status.st_mode)) {
        copyFileContents(from, to, permissions);
    } else {
        throw FileError(from, QStringLiteral("not a regular file, directory or symbolic link"));
    }
}

// The names in the directory open as `fd` ("." and ".." left out), which
// stays open; false when the listing broke off or could not start.
bool namesIn(int fd, std::vector<std::string>& names) {
    const int listing = ::dup(fd);
    if (listing < 0)
        return false;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(listing), &::closedir);
    if (!dir) {
        ::close(listing);
        return false;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
        errno = 0;
    }
    return errno == 0;
}

// Removes the entry `name` of the directory `parent` and, for a directory,
// everything below it, without following links. Only system calls and plain
// memory: a removal left to a worker may still run while the process ends.
bool removeAt(int parent, const char* name, int depth) {
    struct stat status {};
    if (::fstatat(parent, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(status.st_mode))
        return ::unlinkat(parent, name, 0) == 0 || errno == ENOENT;
    if (depth > kMaxRemovalDepth)
        return false;
    if ((status.st_mode & S_IRWXU) != S_IRWXU)
        ::fchmodat(parent, name, status.st_mode | S_IRWXU, 0);
    const UniqueFd directory(
        ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!directory.valid())
        return false;
    // Names first: what readdir returns after an entry was removed is unspecified.
    std::vector<std::string> names;
    bool all = namesIn(directory.get(), names);
    for (const std::string& child : names)
        all = removeAt(directory.get(), child.c_str(), depth + 1) && all;
    return all && (::unlinkat(parent, name, AT_REMOVEDIR) == 0 || errno == ENOENT);
}

// Relative to the parent's descriptor: no path is resolved again per entry.
void restrictAt(int parent, const char* name, const QString& path, int depth) {
    if (depth > kMaxDepth)
        throw FileError(path, QStringLiteral("nested too deeply"));
    struct stat status {};
    if (::fstatat(parent, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        fail(path, errno);
    if (S_ISLNK(status.st_mode))
        return; // links have no permissions of their own
    if (S_ISDIR(status.st_mode)) {
        const UniqueFd directory(
            ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        std::vector<std::string> names;
        if (!directory.valid() || !namesIn(directory.get(), names))
            fail(path, errno);
        for (const std::string& child : names)
            restrictAt(directory.get(), child.c_str(),
                       path + QLatin1Char('/') + QFile::decodeName(child.c_str()), depth + 1);
    }
    const mode_t wanted = status.st_mode & kInstalledPermissions;
    if (wanted != (status.st_mode & 07777) && ::fchmodat(parent, name, wanted, 0) != 0)
        fail(path, errno);
}

} // namespace

void restrictPermissions(const QString& path) {
    restrictAt(AT_FDCWD, nativePath(path).constData(), path, 0);
}

bool exists(const QString& path) {
    struct stat status {};
    return ::lstat(nativePath(path).constData(), &status) == 0;
}

void rename(const QString& from, const QString& to) {
    if (::rename(nativePath(from).constData(), nativePath(to).constData()) != 0)
        fail(from, errno);
}

void copy(const QString& from, const QString& to) {
    if (exists(to))
        fail(to, EEXIST);
    try {
        copyEntry(from, to, 0);
    } catch (const FileError&) {
        remove(to);
        throw;
    }
}

bool remove(const QString& path) {
    return removeAt(AT_FDCWD, nativePath(path).constData(), 0);
}

} // namespace ovrel::FileTree
