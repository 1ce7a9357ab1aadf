#include "Platform/bundle/BundleDirectory.h"

#include "Platform/files/OpenBeneath.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>

namespace ovrel {

namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr int kFileFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
constexpr qsizetype kReadChunk = 256 * 1024;
constexpr std::size_t kMaxLinkTarget = 4096;

std::optional<QStringList> components(const QString& relative) {
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return std::nullopt;
    }
    return parts;
}

// A name is sealable when it survives the trip to a property-list string and back.
std::optional<QString> cleanName(const QByteArray& raw) {
    const QString name = QString::fromUtf8(raw);
    if (name.toUtf8() != raw)
        return std::nullopt;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return std::nullopt;
    }
    return name;
}

std::optional<QString> readLinkTarget(int dirFd, const QByteArray& name) {
    QByteArray buffer(static_cast<qsizetype>(kMaxLinkTarget), Qt::Uninitialized);
    const ssize_t n = ::readlinkat(dirFd, name.constData(), buffer.data(), kMaxLinkTarget);
    if (n <= 0 || static_cast<std::size_t>(n) >= kMaxLinkTarget)
        return std::nullopt;
    buffer.truncate(static_cast<qsizetype>(n));
    return cleanName(buffer);
}

std::vector<QByteArray> directoryNames(int dirFd, bool& ok) {
    std::vector<QByteArray> names;
    ok = false;
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return names;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return names;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
        errno = 0;
    }
    ok = errno == 0;
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool walk(int dirFd, const QString& prefix, int depth, const BundleDirectory::Limits& limits,
          std::vector<BundleDirectory::Entry>& out) {
    if (depth > limits.maxDepth)
        return false;
    bool ok = false;
    const std::vector<QByteArray> names = directoryNames(dirFd, ok);
    if (!ok)
        return false;
    for (const QByteArray& raw : names) {
        if (out.size() >= static_cast<std::size_t>(limits.maxEntries))
            return false;
        struct stat st {};
        if (::fstatat(dirFd, raw.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        const std::optional<QString> name = cleanName(raw);
        BundleDirectory::Entry entry;
        entry.path = prefix + (name ? *name : QString::fromUtf8(raw));
        if (!name) {
            entry.kind = BundleDirectory::EntryKind::unsupported;
        } else if (S_ISREG(st.st_mode)) {
            entry.kind = BundleDirectory::EntryKind::file;
        } else if (S_ISLNK(st.st_mode)) {
            const auto target = readLinkTarget(dirFd, raw);
            entry.kind = target ? BundleDirectory::EntryKind::symlink
                                : BundleDirectory::EntryKind::unsupported;
            entry.symlinkTarget = target.value_or(QString());
        } else if (S_ISDIR(st.st_mode)) {
            entry.kind = BundleDirectory::EntryKind::directory;
        }
        out.push_back(entry);
        if (entry.kind == BundleDirectory::EntryKind::directory) {
            UniqueFd child(::openat(dirFd, raw.constData(), kDirectoryFlags));
            if (!child.valid() ||
                !walk(child.get(), entry.path + QLatin1Char('/'), depth + 1, limits, out))
                return false;
        }
    }
    return true;
}

} // namespace

std::optional<BundleDirectory> BundleDirectory::open(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    auto root = std::make_shared<UniqueFd>(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root->valid())
        return std::nullopt;
    return BundleDirectory(path, std::move(root));
}

UniqueFd BundleDirectory::openDirectory(const QString& relative) const {
    const auto parts = components(relative);
    if (!parts)
        return {};
    UniqueFd current(::openat(m_root->get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const QString& part : *parts) {
        if (!current.valid())
            break;
        current.reset(::openat(current.get(), part.toUtf8().constData(), kDirectoryFlags));
    }
    return current;
}

bool BundleDirectory::isDirectory(const QString& relative) const {
    return openDirectory(relative).valid();
}

std::optional<BundleDirectory::OpenedFile>
BundleDirectory::openFile(const QString& relative) const {
    const auto parts = components(relative);
    if (!parts || parts->isEmpty())
        return std::nullopt;
    // Look before opening: opening a FIFO or a device could block or act.
    // The look may pass through a link; the open below then refuses it.
    const QByteArray path = parts->join(QLatin1Char('/')).toUtf8();
    struct stat st {};
    if (::fstatat(m_root->get(), path.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(st.st_mode))
        return std::nullopt;
    OpenedFile file;
    // One call where the kernel can refuse every link on the way, else a
    // walk one component at a time.
    file.fd.reset(openBeneath(m_root->get(), path, kFileFlags,
                              RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS));
    if (!file.fd.valid() && errno == ENOSYS)
        file.fd = openByWalk(*parts);
    if (!file.fd.valid() || ::fstat(file.fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    file.size = static_cast<qint64>(st.st_size);
    return file;
}

UniqueFd BundleDirectory::openByWalk(QStringList parts) const {
    const QByteArray name = parts.takeLast().toUtf8();
    const UniqueFd parent = openDirectory(parts.join(QLatin1Char('/')));
    if (!parent.valid())
        return {};
    return UniqueFd(::openat(parent.get(), name.constData(), kFileFlags));
}

bool BundleDirectory::feed(const OpenedFile& file, Crypto::Sha256& hash) {
    QByteArray buffer(kReadChunk, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const ssize_t n = ::pread(file.fd.get(), buffer.data(), static_cast<size_t>(kReadChunk),
                                  static_cast<off_t>(total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        total += n;
        if (total > file.size)
            return false;
        hash.update(QByteArrayView(buffer.constData(), static_cast<qsizetype>(n)));
    }
    return total == file.size;
}

std::optional<QByteArray> BundleDirectory::readFile(const QString& relative,
                                                    qint64 maxBytes) const {
    const auto file = openFile(relative);
    if (!file || file->size > maxBytes)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(file->size), Qt::Uninitialized);
    qint64 total = 0;
    while (total < file->size) {
        const ssize_t n =
            ::pread(file->fd.get(), bytes.data() + total, static_cast<size_t>(file->size - total),
                    static_cast<off_t>(total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        total += n;
    }
    return bytes;
}

std::optional<QByteArray> BundleDirectory::sha256(const QString& relative) const {
    const auto file = openFile(relative);
    if (!file)
        return std::nullopt;
    Crypto::Sha256 hash;
    if (!feed(*file, hash))
        return std::nullopt;
    return hash.finish();
}

std::optional<std::vector<BundleDirectory::Entry>>
BundleDirectory::list(const QString& relative, const Limits& limits) const {
    const UniqueFd start = openDirectory(relative);
    if (!start.valid())
        return std::nullopt;
    std::vector<Entry> entries;
    if (!walk(start.get(), QString(), 0, limits, entries))
        return std::nullopt;
    return entries;
}

} // namespace ovrel
