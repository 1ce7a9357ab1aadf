#include "OvrelHub/store/StagingLock.h"

#include "Platform/files/FileError.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace ovrel {

namespace {

QString lastError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Whether the open file is the one the path names now.
bool stillAtPath(int fd, const QByteArray& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

StagingLock StagingLock::acquire(const QString& entry) {
    std::optional<StagingLock> lock = take(entry, Wait::yes);
    if (!lock)
        throw FileError(lockFileOf(entry), lastError());
    return std::move(*lock);
}

std::optional<StagingLock> StagingLock::tryAcquire(const QString& entry) {
    return take(entry, Wait::no);
}

std::optional<StagingLock> StagingLock::take(const QString& entry, Wait wait) {
    const QString lockFile = lockFileOf(entry);
    const QByteArray path = QFile::encodeName(lockFile);
    for (;;) {
        UniqueFd fd(::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd.valid())
            return std::nullopt;
        const int operation = wait == Wait::yes ? LOCK_EX : LOCK_EX | LOCK_NB;
        int locked;
        while ((locked = ::flock(fd.get(), operation)) != 0 && errno == EINTR) {
        }
        if (locked != 0)
            return std::nullopt;
        if (stillAtPath(fd.get(), path))
            return StagingLock(lockFile, std::move(fd));
        // Its holder removed the file while this one waited: the entry it
        // guarded is gone. A waiting taker locks the new file instead.
        if (wait == Wait::no)
            return std::nullopt;
    }
}

std::optional<QString> StagingLock::entryOfLockFile(const QString& name) {
    if (!name.endsWith(QLatin1String(kSuffix)) || name.size() == int(qstrlen(kSuffix)))
        return std::nullopt;
    return name.chopped(int(qstrlen(kSuffix)));
}

StagingLock& StagingLock::operator=(StagingLock&& other) noexcept {
    if (this != &other) {
        release();
        m_lockFile = std::move(other.m_lockFile);
        m_fd = std::move(other.m_fd);
    }
    return *this;
}

StagingLock::~StagingLock() {
    release();
}

void StagingLock::release() {
    if (!m_fd.valid())
        return;
    // Removed while still held, so nobody locks a file that is about to go.
    ::unlink(QFile::encodeName(m_lockFile).constData());
    m_fd.reset();
}

} // namespace ovrel
