#pragma once

#include "Platform/files/UniqueFd.h"

#include <QString>
#include <optional>

namespace ovrel {

// Marks an entry of the staging area as in use by one process while that
// process works on it outside the store's lock (a download lands there while
// other store operations, and other processes' recoveries, run). The entry
// "<name>" is guarded by an flock on "<name>.lock" beside it, taken before
// the entry is made and held until it is gone; recovery removes an entry
// only while it holds that lock itself.
//
// A lock file is removed by whoever holds its lock, so a taker checks after
// locking that the file it locked is still the one at the path, else takes
// again: two holders never believe they own the same entry. Entries need
// fresh names (uuids): a lock is never handed from one use to the next.
// Any thread; move-only; releasing removes the lock file.
class StagingLock {
public:
    static constexpr const char* kSuffix = ".lock";

    // Waits while another holder has it. Throws FileError.
    static StagingLock acquire(const QString& entry);
    // None when another holder has it (or it cannot be opened).
    static std::optional<StagingLock> tryAcquire(const QString& entry);

    static QString lockFileOf(const QString& entry) { return entry + QLatin1String(kSuffix); }
    // The entry a lock file guards, for a name that is a lock file's.
    static std::optional<QString> entryOfLockFile(const QString& name);

    StagingLock(StagingLock&& other) noexcept = default;
    StagingLock& operator=(StagingLock&& other) noexcept;
    ~StagingLock();

private:
    StagingLock(QString lockFile, UniqueFd fd) : m_lockFile(std::move(lockFile)), m_fd(std::move(fd)) {}
    enum class Wait { yes, no };
    static std::optional<StagingLock> take(const QString& entry, Wait wait);
    void release();

    QString m_lockFile;
    UniqueFd m_fd;
};

} // namespace ovrel
