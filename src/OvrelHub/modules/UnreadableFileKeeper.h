#pragma once

#include "Platform/files/FileError.h"

#include <QDateTime>
#include <QString>

namespace ovrel {

// Keeps a file that could not be read before it is overwritten, so a user or a
// later version can still recover what was in it.
class UnreadableFileKeeper {
public:
    // Gives the file a second name beside it, "<name>.unreadable-<UTC time>"
    // (with "-2", "-3", ... when taken), as a hard link, or as a copy where the
    // file system has no hard links. The file itself stays where it is. Returns
    // the new path; throws FileError when no such sibling can be made.
    static QString keepAside(const QString& path, const QDateTime& now);
};

} // namespace ovrel
