#pragma once

#include "OvrelHub/modules/ModulesState.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/files/FileLock.h"

#include <functional>
#include <mutex>
#include <optional>
#include <utility>

namespace ovrel {

// Reads and writes "modules-state.json". There is no copy in memory: every read
// sees the file as it is now, and every change re-reads the file under the lock
// and writes the whole document back, so concurrent writers never undo each
// other's fields.
//
// Every change also holds an advisory file lock (FileLock on stateLockFile()),
// so a hub and a command line, or two command lines, never interleave their
// read-modify-writes. Reads take only the in-process lock: the file is always
// replaced whole, so a reader sees the old document or the new one.
//
// The lock is a plain std::mutex and is NOT reentrant. While it is held (inside
// `update`'s body or `withLock`'s body) never call load(), save(), update() or
// withLock() of the same store: the thread would wait for itself forever. Use
// the Locked handle that the body receives instead.
class ModuleStateStore {
public:
    // The largest file read; anything bigger counts as unreadable.
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

    explicit ModuleStateStore(ModulePaths paths);
    ModuleStateStore(const ModuleStateStore&) = delete;
    ModuleStateStore& operator=(const ModuleStateStore&) = delete;

    const ModulePaths& paths() const { return m_paths; }
    // The file every process locks for a change of the state file.
    QString stateLockFile() const;

    // Never fails: a missing or unreadable file reads as the empty state.
    ModulesState load();
    // Writes the whole state; failures are ignored and leave the old file.
    void save(const ModulesState& state);
    // Read afresh, let `body` change the state, write it back, all under the
    // lock. The way to change one field while keeping everything else on disk.
    // If `body` throws, nothing is written and the exception goes on.
    void update(const std::function<void(ModulesState&)>& body);

    // Access to the file while the lock is held; only withLock makes one.
    class Locked {
    public:
        ModulesState read() const { return m_store.readFile(); }
        void writeLocked(const ModulesState& state) const { m_store.writeFile(state); }

    private:
        friend class ModuleStateStore;
        explicit Locked(const ModuleStateStore& store) : m_store(store) {}
        const ModuleStateStore& m_store;
    };

    // Runs `body(const Locked&)` with the lock held and returns what it returns:
    // for read-modify-write sequences that need more than `update` (deciding
    // from what was read, doing other work between the read and the write).
    template <class Body> decltype(auto) withLock(Body&& body) {
        std::lock_guard guard(m_lock);
        const std::optional<FileLock> acrossProcesses = lockAcrossProcesses();
        const Locked locked(*this);
        return std::forward<Body>(body)(locked);
    }

private:
    ModulesState readFile() const;
    // A file that did not read cleanly is kept aside before it is replaced, so
    // a write never destroys what could not be read.
    void writeFile(const ModulesState& state) const;
    bool keepUnreadableFileAside() const;
    // None when the lock file cannot be used (logged): the change then goes
    // on with the in-process lock alone, as it would without other processes.
    std::optional<FileLock> lockAcrossProcesses() const;

    ModulePaths m_paths;
    std::mutex m_lock;
};

} // namespace ovrel
