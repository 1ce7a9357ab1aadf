#include "OvrelHub/store/FileTree.h"

#include "Platform/files/UniqueFd.h"

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

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
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            fail(from, errno);
        if (got == 0)
            break;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out.get(), buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0)
                fail(to, errno);
            done += put;
        }
    }
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

void restrictEntry(const QString& path, int depth) {
    if (depth > kMaxDepth)
        throw FileError(path, QStringLiteral("nested too deeply"));
    struct stat status {};
    if (::lstat(nativePath(path).constData(), &status) != 0)
        fail(path, errno);
    if (S_ISLNK(status.st_mode))
        return; // links have no permissions of their own
    if (S_ISDIR(status.st_mode)) {
        for (const QString& name : entries(path))
            restrictEntry(path + QLatin1Char('/') + name, depth + 1);
    }
    const mode_t wanted = status.st_mode & kInstalledPermissions;
    if (wanted != (status.st_mode & 07777) && ::chmod(nativePath(path).constData(), wanted) != 0)
        fail(path, errno);
}

} // namespace

void restrictPermissions(const QString& path) {
    restrictEntry(path, 0);
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
    const QByteArray native = nativePath(path);
    struct stat status {};
    if (::lstat(native.constData(), &status) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(status.st_mode))
        return ::unlink(native.constData()) == 0 || errno == ENOENT;
    if ((status.st_mode & S_IRWXU) != S_IRWXU)
        ::chmod(native.constData(), status.st_mode | S_IRWXU);
    bool all = true;
    try {
        for (const QString& name : entries(path))
            all = remove(path + QLatin1Char('/') + name) && all;
    } catch (const FileError&) {
        return false;
    }
    return all && (::rmdir(native.constData()) == 0 || errno == ENOENT);
}

} // namespace ovrel::FileTree
