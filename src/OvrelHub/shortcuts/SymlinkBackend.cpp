#include "OvrelHub/shortcuts/SymlinkBackend.h"

#include "Platform/files/FileError.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace ovrel {

void SymlinkBackend::create(const QString& link, const QString& target) {
    remove(link);
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) != 0)
        throw FileError(link, QString::fromLocal8Bit(std::strerror(errno)));
}

bool SymlinkBackend::exists(const QString& link) const {
    struct stat info {};
    return ::lstat(QFile::encodeName(link).constData(), &info) == 0;
}

void SymlinkBackend::remove(const QString& link) {
    // unlink never removes a directory: a folder of the user's stays.
    ::unlink(QFile::encodeName(link).constData());
}

} // namespace ovrel
