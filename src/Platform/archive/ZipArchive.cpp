#include "Platform/archive/ZipArchive.h"

#include "Platform/archive/LibArchive.h"
#include "Platform/files/UniqueFd.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ovrel::ZipArchive {

namespace {

using Kind = ZipArchiveError::Kind;

constexpr mode_t kKeptBits = 0755; // no set-id, sticky, group or world write

[[noreturn]] void fail(Kind kind, const QString& detail) {
    throw ZipArchiveError(kind, detail);
}

const LibArchive& api() {
    return LibArchive::get();
}

[[noreturn]] void failErrno(Kind kind, const QByteArray& name, const char* step) {
    fail(kind, QString::fromUtf8(name) + QStringLiteral(": ") + QLatin1String(step) +
                   QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
}

struct ArchiveDeleter {
    void operator()(archive* a) const { api().archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveDeleter>;

ArchivePtr openArchive(const QString& path) {
    try {
        LibArchive::get();
    } catch (const SharedLibraryError& error) {
        fail(Kind::unreadable, error.message());
    }
    ArchivePtr a(api().archive_read_new());
    if (!a)
        fail(Kind::unreadable, QStringLiteral("out of memory"));
    api().archive_read_support_format_zip(a.get());
    if (api().archive_read_open_filename(a.get(), QFile::encodeName(path).constData(), 1 << 16) !=
        ARCHIVE_OK)
        fail(Kind::unreadable, QString::fromUtf8(api().archive_error_string(a.get())));
    return a;
}

// ARCHIVE_EOF at the end; throws on a damaged archive.
bool nextHeader(archive* a, archive_entry** entry) {
    const int status = api().archive_read_next_header(a, entry);
    if (status == ARCHIVE_EOF)
        return false;
    if (status < ARCHIVE_WARN)
        fail(Kind::unreadable, QString::fromUtf8(api().archive_error_string(a)));
    return true;
}

QByteArray rawName(archive_entry* entry) {
    const char* name = api().archive_entry_pathname(entry);
    return name ? QByteArray(name) : QByteArray();
}

void countEntry(qint64& count, const Limits& limits) {
    if (++count > limits.maxEntries)
        fail(Kind::limitExceeded, QStringLiteral("more than %1 entries").arg(limits.maxEntries));
}

// The name's pieces with "." dropped and ".." applied; refused when it climbs
// above the destination or names the destination itself.
std::vector<QByteArray> normalised(const QByteArray& name) {
    if (name.isEmpty() || name.startsWith('/'))
        fail(Kind::refused, QString::fromUtf8(name) + QStringLiteral(": unsafe name"));
    std::vector<QByteArray> pieces;
    for (const QByteArray& piece : name.split('/')) {
        if (piece.isEmpty() || piece == ".")
            continue;
        if (piece == "..") {
            if (pieces.empty())
                fail(Kind::refused, QString::fromUtf8(name) + QStringLiteral(": unsafe name"));
            pieces.pop_back();
            continue;
        }
        pieces.push_back(piece);
    }
    if (pieces.empty())
        fail(Kind::refused, QString::fromUtf8(name) + QStringLiteral(": names the destination"));
    return pieces;
}

// Opens (creating when missing) the directories leading to an entry, one
// piece at a time and never through a link. Remembers the last one opened:
// archives list a directory's files together.
class DirectoryWalker {
public:
    explicit DirectoryWalker(int root) : m_root(root) {}

    int open(const std::vector<QByteArray>& pieces, size_t count, const QByteArray& name) {
        if (count == 0)
            return m_root;
        if (m_cached.valid() && m_cachedPieces.size() == count &&
            std::equal(m_cachedPieces.begin(), m_cachedPieces.end(), pieces.begin()))
            return m_cached.get();
        UniqueFd current;
        int at = m_root;
        for (size_t i = 0; i < count; ++i) {
            UniqueFd next = openOrCreate(at, pieces[i], name);
            current = std::move(next);
            at = current.get();
        }
        m_cachedPieces.assign(pieces.begin(), pieces.begin() + static_cast<ptrdiff_t>(count));
        m_cached = std::move(current);
        return m_cached.get();
    }

private:
    static UniqueFd openOrCreate(int at, const QByteArray& piece, const QByteArray& name) {
        constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        int fd = ::openat(at, piece.constData(), flags);
        if (fd < 0 && errno == ENOENT) {
            if (::mkdirat(at, piece.constData(), 0755) != 0 && errno != EEXIST)
                failErrno(Kind::writeFailed, name, "mkdir");
            fd = ::openat(at, piece.constData(), flags);
        }
        if (fd < 0) {
            // A link (ELOOP) or a file (ENOTDIR) where a directory is needed.
            if (errno == ELOOP || errno == ENOTDIR)
                failErrno(Kind::refused, name, "not a directory");
            failErrno(Kind::writeFailed, name, "open directory");
        }
        return UniqueFd(fd);
    }

    int m_root;
    std::vector<QByteArray> m_cachedPieces;
    UniqueFd m_cached;
};

mode_t keptMode(archive_entry* entry, mode_t ownerBits) {
    return (static_cast<mode_t>(api().archive_entry_perm(entry)) & kKeptBits) | ownerBits;
}

void makeDirectory(int parent, const QByteArray& leaf, archive_entry* entry,
                   const QByteArray& name) {
    if (::mkdirat(parent, leaf.constData(), keptMode(entry, 0700)) == 0)
        return;
    if (errno != EEXIST)
        failErrno(Kind::writeFailed, name, "mkdir");
    struct stat existing {};
    if (::fstatat(parent, leaf.constData(), &existing, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISDIR(existing.st_mode))
        fail(Kind::refused, QString::fromUtf8(name) + QStringLiteral(": name already taken"));
}

void writeData(archive* a, int fd, const QByteArray& name, qint64& unpacked, const Limits& limits) {
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    for (;;) {
        const int status = api().archive_read_data_block(a, &block, &size, &offset);
        if (status == ARCHIVE_EOF)
            return;
        if (status < ARCHIVE_WARN)
            fail(Kind::unreadable, QString::fromUtf8(name) + QStringLiteral(": ") +
                                       QString::fromUtf8(api().archive_error_string(a)));
        unpacked += static_cast<qint64>(size);
        if (unpacked > limits.maxUnpackedBytes)
            fail(Kind::limitExceeded,
                 QStringLiteral("more than %1 bytes unpacked").arg(limits.maxUnpackedBytes));
        const char* bytes = static_cast<const char*>(block);
        while (size > 0) {
            const ssize_t written = ::pwrite(fd, bytes, size, offset);
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                failErrno(Kind::writeFailed, name, "write");
            }
            bytes += written;
            size -= static_cast<size_t>(written);
            offset += written;
        }
    }
}

void writeFile(archive* a, int parent, const QByteArray& leaf, archive_entry* entry,
               const QByteArray& name, qint64& unpacked, const Limits& limits) {
    if (api().archive_entry_size_is_set(entry) &&
        api().archive_entry_size(entry) > limits.maxUnpackedBytes - unpacked)
        fail(Kind::limitExceeded,
             QStringLiteral("more than %1 bytes unpacked").arg(limits.maxUnpackedBytes));
    // O_EXCL: a name listed twice, or already made as a directory or link, is
    // refused rather than overwritten (and a link is never written through).
    const int fd = ::openat(parent, leaf.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST)
            fail(Kind::refused, QString::fromUtf8(name) + QStringLiteral(": name already taken"));
        failErrno(Kind::writeFailed, name, "create");
    }
    const UniqueFd file(fd);
    writeData(a, fd, name, unpacked, limits);
    if (::fchmod(fd, keptMode(entry, 0600)) != 0)
        failErrno(Kind::writeFailed, name, "chmod");
}

void makeLink(int parent, const QByteArray& leaf, archive_entry* entry, const QByteArray& name) {
    const char* target = api().archive_entry_symlink(entry);
    if (!target || !*target)
        fail(Kind::refused, QString::fromUtf8(name) + QStringLiteral(": empty link"));
    if (::symlinkat(target, parent, leaf.constData()) != 0) {
        if (errno == EEXIST)
            fail(Kind::refused, QString::fromUtf8(name) + QStringLiteral(": name already taken"));
        failErrno(Kind::writeFailed, name, "symlink");
    }
}

} // namespace

QList<QByteArray> entryNames(const QString& path, const Limits& limits) {
    ArchivePtr a = openArchive(path);
    QList<QByteArray> names;
    qint64 count = 0;
    archive_entry* entry = nullptr;
    while (nextHeader(a.get(), &entry)) {
        countEntry(count, limits);
        names.append(rawName(entry));
    }
    return names;
}

void extract(const QString& path, const QString& destination, const Limits& limits) {
    const UniqueFd root(::open(QFile::encodeName(destination).constData(),
                               O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!root.valid())
        failErrno(Kind::writeFailed, QFile::encodeName(destination), "open destination");
    ArchivePtr a = openArchive(path);
    DirectoryWalker directories(root.get());
    qint64 count = 0;
    qint64 unpacked = 0;
    archive_entry* entry = nullptr;
    while (nextHeader(a.get(), &entry)) {
        countEntry(count, limits);
        const QByteArray name = rawName(entry);
        const std::vector<QByteArray> pieces = normalised(name);
        const mode_t type = api().archive_entry_filetype(entry);
        const bool hardLink = api().archive_entry_hardlink(entry) != nullptr;
        if (hardLink || (type != AE_IFREG && type != AE_IFDIR && type != AE_IFLNK))
            continue; // skipped; its data is passed over by the next header read
        const int parent = directories.open(pieces, pieces.size() - 1, name);
        const QByteArray& leaf = pieces.back();
        if (type == AE_IFDIR)
            makeDirectory(parent, leaf, entry, name);
        else if (type == AE_IFLNK)
            makeLink(parent, leaf, entry, name);
        else
            writeFile(a.get(), parent, leaf, entry, name, unpacked, limits);
    }
}

std::optional<QByteArray> readEntry(const QString& path,
                                    const std::function<bool(const QByteArray&)>& wanted,
                                    qint64 maxBytes) {
    ArchivePtr a = openArchive(path);
    archive_entry* entry = nullptr;
    while (nextHeader(a.get(), &entry)) {
        if (api().archive_entry_filetype(entry) != AE_IFREG || !wanted(rawName(entry)))
            continue;
        QByteArray content;
        char buffer[1 << 14];
        for (;;) {
            const la_ssize_t read = api().archive_read_data(a.get(), buffer, sizeof buffer);
            if (read < 0)
                fail(Kind::unreadable, QString::fromUtf8(api().archive_error_string(a.get())));
            if (read == 0)
                return content;
            if (content.size() + read > maxBytes)
                return std::nullopt;
            content.append(buffer, read);
        }
    }
    return std::nullopt;
}

} // namespace ovrel::ZipArchive
