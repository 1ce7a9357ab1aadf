#pragma once

#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <functional>
#include <optional>

namespace ovrel {

// A cheap fingerprint of one file, from stat(2) (symbolic links followed, so it
// describes what would be opened).
struct FileStamp {
    QString path;
    std::optional<qint64> modified; // modification time, nanoseconds since 1970
    std::optional<qint64> size;     // bytes
    // Which file this is and when its metadata last changed. A file replaced by
    // another with the same time and size (an archive restores times), or
    // rewritten with its old time put back, still changes the stamp.
    quint64 device = 0;
    quint64 inode = 0;
    qint64 changed = 0; // status change time, nanoseconds since 1970

    bool operator==(const FileStamp&) const = default;

    // None when the file cannot be stat'ed.
    static std::optional<FileStamp> of(const QString& path);

    std::size_t hash() const;
};

} // namespace ovrel

template <> struct std::hash<ovrel::FileStamp> {
    std::size_t operator()(const ovrel::FileStamp& stamp) const noexcept { return stamp.hash(); }
};
