#pragma once

#include <QByteArray>
#include <QString>

namespace ovrel {

// Reading files that another process (or an attacker) may have put in place:
// only regular files are read, never more than a caller-chosen size, and a
// FIFO or device at the path cannot block or flood the reader.
namespace BoundedFile {

struct ReadResult {
    enum class Status {
        ok,       // bytes holds the whole file
        failed,   // missing, not permitted, or not a regular file
        tooLarge, // a regular file longer than the limit; bytes is empty
    };
    Status status = Status::failed;
    QByteArray bytes;
};

ReadResult read(const QString& path, qint64 maxBytes);

} // namespace BoundedFile

} // namespace ovrel
