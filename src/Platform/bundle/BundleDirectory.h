#pragma once

#include "Platform/crypto/Crypto.h"
#include "Platform/files/UniqueFd.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace ovrel {

// Read access to a bundle directory that never leaves it. Relative paths are
// walked one component at a time without following symbolic links, so a link
// planted inside the bundle cannot redirect a read to a file elsewhere, and
// only regular files are ever opened (a FIFO or device cannot block or act).
class BundleDirectory {
public:
    enum class EntryKind { file, directory, symlink, unsupported };

    struct Entry {
        QString path; // relative to the listed directory, "/"-separated
        EntryKind kind = EntryKind::unsupported;
        QString symlinkTarget;
    };

    struct Limits {
        int maxDepth = 64;
        int maxEntries = 100000;
    };

    struct OpenedFile {
        UniqueFd fd;
        qint64 size = 0;
    };

    // The root itself may be reached through a link: the caller chose it.
    // Nothing when it is not a readable directory.
    static std::optional<BundleDirectory> open(const QString& path);

    const QString& path() const { return m_path; }

    bool isDirectory(const QString& relative) const;
    // Nothing when the entry is missing, not a regular file or under a link.
    std::optional<OpenedFile> openFile(const QString& relative) const;
    // Nothing as above, or when the file holds more than maxBytes.
    std::optional<QByteArray> readFile(const QString& relative, qint64 maxBytes) const;
    std::optional<QByteArray> sha256(const QString& relative) const;

    // Streams the whole file into the hash; false when it could not be read or
    // its length changed while reading.
    static bool feed(const OpenedFile& file, Crypto::Sha256& hash);

    // Every entry below a directory, depth first, names sorted. Entries whose
    // names are not clean UTF-8 are reported as unsupported. Nothing when a
    // directory cannot be read or a limit is exceeded.
    std::optional<std::vector<Entry>> list(const QString& relative, const Limits& limits) const;

    static constexpr const char* kContents = "Contents";

private:
    BundleDirectory(QString path, std::shared_ptr<UniqueFd> root)
        : m_path(std::move(path)), m_root(std::move(root)) {}

    UniqueFd openDirectory(const QString& relative) const;
    // A file's descriptor by walking its parent's components one at a time.
    UniqueFd openByWalk(QStringList parts) const;

    QString m_path;
    std::shared_ptr<UniqueFd> m_root;
};

} // namespace ovrel
