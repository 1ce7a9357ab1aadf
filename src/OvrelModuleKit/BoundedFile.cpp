#include "OvrelModuleKit/BoundedFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovrel {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::optional<QByteArray> BoundedFile::read(const QString& path, qint64 maxBytes) {
    // Non-blocking so that opening a FIFO does not wait for a writer.
    const Descriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes)
        return std::nullopt;

    // The file may grow while it is read: read at most one byte past the limit
    // to notice.
    QByteArray bytes;
    bytes.resize(static_cast<qsizetype>(st.st_size) + 1);
    qsizetype total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxBytes)
                return std::nullopt;
            bytes.resize(std::min<qint64>(maxBytes + 1, total * 2 + 4096));
        }
        const ssize_t n =
            ::read(fd.get(), bytes.data() + total, static_cast<size_t>(bytes.size() - total));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            break;
        total += n;
    }
    if (total > maxBytes)
        return std::nullopt;
    bytes.truncate(total);
    return bytes;
}

} // namespace ovrel
