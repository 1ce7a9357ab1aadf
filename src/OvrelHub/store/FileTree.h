#pragma once

#include "Platform/files/FileError.h"

#include <QString>

namespace ovrel {

// Whole-directory operations on bundles, which may be hostile: symbolic links
// are never followed (they are copied or removed as links), and only regular
// files, directories and links are accepted.
namespace FileTree {

// Deeper trees are refused: no bundle needs them, and the walk recurses.
inline constexpr int kMaxDepth = 64;
// Removal goes deeper, so that what a tool left can still be cleaned up.
inline constexpr int kMaxRemovalDepth = 1024;

// What installed files may keep of their permission bits: no set-id bits,
// and only the owner may write.
inline constexpr unsigned kInstalledPermissions = 0755;

// Clears every bit outside kInstalledPermissions throughout the tree, links
// left alone; throws FileError.
void restrictPermissions(const QString& path);

// Whether anything, a dangling link included, is at the path.
bool exists(const QString& path);

// Renames within one file system; throws FileError with the system's reason.
void rename(const QString& from, const QString& to);

// Copies the file, link or directory tree at `from` to the new path `to`.
// Files keep their permission bits within kInstalledPermissions; directories stay
// writable by their owner so the copy can be removed again. A FIFO, socket or
// device anywhere, or a tree deeper than kMaxDepth, is refused. Throws
// FileError; nothing is left at `to` then.
void copy(const QString& from, const QString& to);

// Removes the file, link or directory tree at the path, making directories
// writable on the way where needed. True when nothing is left there. Safe to
// run on a worker thread while the process ends (no Qt state is touched).
bool remove(const QString& path);

} // namespace FileTree

} // namespace ovrel
