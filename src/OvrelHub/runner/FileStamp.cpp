#include "OvrelHub/runner/FileStamp.h"

#include <QFile>
#include <QHashFunctions>
#include <sys/stat.h>

namespace ovrel {

namespace {

qint64 nanoseconds(const struct timespec& time) {
    return static_cast<qint64>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

} // namespace

std::optional<FileStamp> FileStamp::of(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    FileStamp stamp;
    stamp.path = path;
    stamp.modified = nanoseconds(info.st_mtim);
    stamp.size = static_cast<qint64>(info.st_size);
    stamp.device = static_cast<quint64>(info.st_dev);
    stamp.inode = static_cast<quint64>(info.st_ino);
    stamp.changed = nanoseconds(info.st_ctim);
    return stamp;
}

std::size_t FileStamp::hash() const {
    return qHashMulti(0, path, modified.has_value(), modified.value_or(0), size.has_value(),
                      size.value_or(0), device, inode, changed);
}

} // namespace ovrel
