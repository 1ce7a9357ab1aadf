#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <exception>
#include <functional>
#include <optional>
#include <string>

namespace ovrel {

// Why a zip archive could not be read or unpacked.
class ZipArchiveError : public std::exception {
public:
    enum class Kind {
        unreadable,    // not a zip archive, damaged, encrypted, or unreadable
        limitExceeded, // too many entries or too many bytes once unpacked
        refused,       // an entry would escape, clash or write through a link
        writeFailed,   // the file system refused a write
    };
    ZipArchiveError(Kind kind, QString detail)
        : m_kind(kind), m_detail(std::move(detail)), m_what(m_detail.toStdString()) {}

    Kind kind() const { return m_kind; }
    const QString& detail() const { return m_detail; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    Kind m_kind;
    QString m_detail;
    std::string m_what;
};

// Zip archives read through libarchive, from a hostile source. Names are the
// archive's raw bytes. Synchronous; any thread.
namespace ZipArchive {

struct Limits {
    qint64 maxEntries = 100'000;
    qint64 maxUnpackedBytes = qint64(2) << 30; // 2 GiB
};

// Entry names in archive order (the central directory's when there is one).
// Throws ZipArchiveError: unreadable, or limitExceeded past maxEntries.
QList<QByteArray> entryNames(const QString& archive, const Limits& limits = {});

// Unpacks into the existing, empty directory `destination`. Each name is
// normalised textually ("." and ".." pieces resolved without looking at the
// disk) and must stay below the destination. Nothing is written through a
// symbolic link, not even one the archive made itself; an entry whose name is
// already taken (a duplicate, or a file where a directory is needed) is
// refused. Only regular files, directories and symbolic links are unpacked;
// other kinds, hard links among them, are skipped. Permission bits keep the
// owner's read and write, lose group and world write and every set-id and
// sticky bit. Throws ZipArchiveError; what was unpacked until then stays.
void extract(const QString& archive, const QString& destination, const Limits& limits = {});

// The content of the first regular-file entry whose raw name `wanted`
// accepts; nothing when there is none or it is larger than `maxBytes`.
// Throws ZipArchiveError (unreadable).
std::optional<QByteArray> readEntry(const QString& archive,
                                    const std::function<bool(const QByteArray&)>& wanted,
                                    qint64 maxBytes);

} // namespace ZipArchive

} // namespace ovrel
