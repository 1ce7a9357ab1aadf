#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace ovrel {

// Reads a shared file that anybody could have replaced: only a regular file is
// read (a FIFO or device named like the file cannot block or flood the reader),
// and only up to a size limit.
class BoundedFile {
public:
    // The whole content; none when the path is missing, not a regular file,
    // unreadable or larger than maxBytes.
    static std::optional<QByteArray> read(const QString& path, qint64 maxBytes);
};

} // namespace ovrel
