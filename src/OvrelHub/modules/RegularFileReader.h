#pragma once

#include <QByteArray>
#include <QString>

namespace ovrel {

// Reads a small file that may be hostile: only regular files are read (a FIFO
// or device at the path never blocks the caller), and never more than a bound.
class RegularFileReader {
public:
    enum class Status {
        missing, // nothing at the path
        read,    // `bytes` holds the whole file
        failed,  // something is there but could not be read whole
    };
    struct Result {
        Status status = Status::missing;
        QByteArray bytes;
    };

    static Result read(const QString& path, qint64 maxBytes);
};

} // namespace ovrel
