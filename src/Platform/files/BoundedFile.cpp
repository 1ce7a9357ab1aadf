#include "Platform/files/BoundedFile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovrel::BoundedFile {

namespace {

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

ReadResult read(const QString& path, qint64 maxBytes) {
    using Status = ReadResult::Status;
    // O_NONBLOCK keeps open() from waiting for the writer of a FIFO.
    const Descriptor file{
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    if (file.fd < 0)
        return {};
    struct stat st {};
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    if (st.st_size > maxBytes)
        return {Status::tooLarge, {}};

    // The file may grow between fstat and read: read one byte past the limit to notice.
    QByteArray bytes(static_cast<qsizetype>(st.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes)
                return {Status::tooLarge, {}};
            bytes.resize(std::min<qsizetype>(filled * 2 + 1, maxBytes + 1));
        }
        const ssize_t n =
            ::read(file.fd, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return {};
        }
        if (n == 0)
            break;
        filled += n;
    }
    if (filled > maxBytes)
        return {Status::tooLarge, {}};
    bytes.resize(filled);
    return {Status::ok, bytes};
}

} // namespace ovrel::BoundedFile
