#include "Platform/files/FileLock.h"

#include "Platform/files/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>

namespace ovrel {

FileLock FileLock::acquire(const QString& path) {
    AtomicFile::makeDirectories(QFileInfo(path).absolutePath(), 0700);
    UniqueFd fd(::open(QFile::encodeName(path).constData(),
                       O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.valid())
        throw FileError(path, QString::fromLocal8Bit(std::strerror(errno)));
    while (::flock(fd.get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            throw FileError(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    return FileLock(std::move(fd));
}

} // namespace ovrel
