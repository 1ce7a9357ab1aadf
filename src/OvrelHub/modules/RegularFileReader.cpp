#include "OvrelHub/modules/RegularFileReader.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovrel {

namespace {

struct FileDescriptor {
    int fd;
    ~FileDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

RegularFileReader::Result RegularFileReader::read(const QString& path, qint64 maxBytes) {
    const QByteArray native = QFile::encodeName(path);
    FileDescriptor file{::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    if (file.fd < 0)
        return {errno == ENOENT || errno == ENOTDIR ? Status::missing : Status::failed, {}};

    struct stat info {};
    if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxBytes)
        return {Status::failed, {}};

    // The size may change while reading; read until end of file, one byte past
    // the bound at most, and refuse anything longer.
    QByteArray bytes;
    bytes.resize(static_cast<qsizetype>(info.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes)
                return {Status::failed, {}};
            bytes.resize(std::min<qsizetype>(bytes.size() * 2, maxBytes + 1));
        }
        const ssize_t n =
            ::read(file.fd, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return {Status::failed, {}};
        }
        if (n == 0)
            break;
        filled += n;
    }
    if (filled > maxBytes)
        return {Status::failed, {}};
    bytes.truncate(filled);
    return {Status::read, bytes};
}

} // namespace ovrel
