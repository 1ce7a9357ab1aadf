#pragma once

#include "Platform/archive/ZipArchive.h"

#include <QString>
#include <QStringList>

namespace ovrel {

// Unpacks a module archive without letting it write outside its target or
// leave links that lead outside it. Every entry name is checked before
// anything is written; unpacking never writes through a link; links are
// checked once more afterwards, as text and by resolving them on the file
// system. Synchronous (the store's worker thread); never logs. On failure the
// partial output stays in the destination: removing it is the caller's job.
class SafeUnzip {
public:
    // Unpacks `zip` into `destination` (emptied first) and returns the path of
    // the one application bundle at its top level. Throws UnzipError or
    // FileError. Archives with more entries or unpacked bytes than `limits`
    // allow fail with extractFailed.
    static QString extract(const QString& zip, const QString& destination,
                           const ZipArchive::Limits& limits = {});

    // Whether an entry name stays strictly below the target: not empty, not
    // absolute, no NUL, never climbing above the target, not the target itself.
    static bool isSafeEntryPath(const QString& name);

    // Entry names in archive order, invalid UTF-8 replaced. Throws
    // listFailed, or extractFailed past the entry limit.
    static QStringList listEntries(const QString& zip, const ZipArchive::Limits& limits = {});

    // Throws escapingSymlink naming the first link below `root` that leads
    // outside it, or an item that could not be examined.
    static void rejectEscapingSymlinks(const QString& root);

    // Textual check: `target`, read from `linkDir`, stays at or below `root`.
    static bool resolvesInside(const QString& root, const QString& linkDir, const QString& target);

private:
    static void emptyDestination(const QString& destination);
    static QString singleAppBundle(const QString& destination);
};

} // namespace ovrel
