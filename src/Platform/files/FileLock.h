#pragma once

#include "Platform/files/FileError.h"
#include "Platform/files/UniqueFd.h"

#include <QString>

namespace ovrel {

// An exclusive advisory lock (flock) on a file, which every process of the
// user that locks the same path respects. Held until the object goes away.
//
// flock belongs to the open file, not to the process: two FileLock objects on
// one path exclude each other even inside one process, so a thread that holds
// one must never take another on the same path (it would wait for itself).
// Nothing is promised against processes that do not take the lock.
class FileLock {
public:
    // Waits until the lock is free. Creates the lock file (0600) and missing
    // parent directories (0700). Throws FileError when it cannot be opened or
    // locked; the caller decides whether to go on unprotected.
    static FileLock acquire(const QString& path);

    FileLock(FileLock&&) noexcept = default;
    FileLock& operator=(FileLock&&) noexcept = default;

private:
    explicit FileLock(UniqueFd fd) : m_fd(std::move(fd)) {}
    UniqueFd m_fd; // closing the file releases the lock
};

} // namespace ovrel
