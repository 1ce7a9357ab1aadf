#include "Platform/files/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovrel::AtomicFile {

namespace {

QString errnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

void writeAll(int fd, const QByteArray& bytes, const QString& path) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(path, errnoText());
        }
        data += n;
        left -= n;
    }
}

// The process umask without changing it: setting and restoring it would let
// another thread create a file with no mask in between.
mode_t currentUmask() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = status.readAll().split('\n');
        for (const QByteArray& line : lines) {
            if (!line.startsWith("Umask:"))
                continue;
            bool ok = false;
            const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
            if (ok)
                return static_cast<mode_t>(mask & 0777);
        }
    }
    return 022;
}

void syncDirectory(const QString& dir) {
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void makeDirectories(const QString& path, std::optional<mode_t> mode) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (QFileInfo(clean).isDir())
        return;
    const QString parent = QFileInfo(clean).path();
    if (parent != clean)
        makeDirectories(parent, mode);
    // Everything the hub and its modules create is per-user data: private
    // unless the caller asks otherwise.
    const mode_t m = mode.value_or(0700);
    if (::mkdir(QFile::encodeName(clean).constData(), m) != 0 && errno != EEXIST)
        throw FileError(clean, errnoText());
    if (mode)
        ::chmod(QFile::encodeName(clean).constData(), *mode); // mkdir applies the umask
    if (!QFileInfo(clean).isDir())
        throw FileError(clean, QStringLiteral("not a directory"));
}

void write(const QString& path, const QByteArray& bytes, const Options& options) {
    const QFileInfo info(path);
    const QString dir = info.absolutePath();
    makeDirectories(dir, options.directoryMode);

    QByteArray tmpl = QFile::encodeName(dir + QStringLiteral("/.") + info.fileName() +
                                        QStringLiteral(".tmp-XXXXXX"));
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        throw FileError(path, errnoText());
    try {
        mode_t mode = options.fileMode.value_or(0);
        if (!options.fileMode) {
            mode = 0666 & ~currentUmask();
        }
        if (::fchmod(fd, mode) != 0)
            throw FileError(path, errnoText());
        writeAll(fd, bytes, path);
        if (options.durable && ::fsync(fd) != 0)
            throw FileError(path, errnoText());
    } catch (...) {
        ::close(fd);
        ::unlink(tmpl.constData());
        throw;
    }
    if (::close(fd) != 0) {
        const QString reason = errnoText();
        ::unlink(tmpl.constData());
        throw FileError(path, reason);
    }
    if (::rename(tmpl.constData(), QFile::encodeName(info.absoluteFilePath()).constData()) != 0) {
        const QString reason = errnoText();
        ::unlink(tmpl.constData());
        throw FileError(path, reason);
    }
    if (options.durable)
        syncDirectory(dir);
}

} // namespace ovrel::AtomicFile
