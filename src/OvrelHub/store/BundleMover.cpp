#include "OvrelHub/store/BundleMover.h"

#include "OvrelHub/store/FileTree.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ovrel {

void BundleMover::move(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return;
    const int error = errno;
    if (error != EXDEV)
        throw FileError(from, QString::fromLocal8Bit(std::strerror(error)));
    FileTree::copy(from, to);
    // The bundle is in place; what is left of the source is staging material
    // that the caller removes anyway.
    FileTree::remove(from);
}

} // namespace ovrel
