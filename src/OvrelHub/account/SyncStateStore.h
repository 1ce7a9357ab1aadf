#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace ovrel {

class UserDefaults;

// What settings sync remembers across restarts, in "sync-state.json" under the
// shared root: whether sync is on, whether platform-scoped streams are shared
// across platforms, and per effective stream key the last version agreed with
// the server and whether local data changed since. A missing or unreadable
// file reads as sync on, shared, nothing synchronised; every change is saved
// at once, atomically, so a crash leaves the old file or the new one. Write
// errors are silent: the state in memory stays authoritative for the run.
// Main thread only.
class SyncStateStore {
public:
    struct Entry {
        qint64 version = 0; // 0: never synchronised
        bool dirty = false;
        bool operator==(const Entry&) const = default;
    };
    struct State {
        bool syncEnabled = true;
        bool sharedAcrossPlatforms = true;
        QMap<QString, Entry> streams;
        bool operator==(const State&) const = default;
    };

    static constexpr qint64 kMaxFileBytes = 1 << 20;

    explicit SyncStateStore(QString file);

    // "sync-state.json" under the default shared root; created on first use.
    static SyncStateStore& shared();

    const QString& file() const { return m_file; }
    const State& state() const { return m_state; }

    qint64 version(const QString& key) const;
    bool isDirty(const QString& key) const;
    void setVersion(const QString& key, qint64 version);
    void setDirty(const QString& key, bool dirty);
    // Both fields in one save.
    void setEntry(const QString& key, Entry entry);

    bool syncEnabled() const { return m_state.syncEnabled; }
    void setSyncEnabled(bool enabled);
    bool sharedAcrossPlatforms() const { return m_state.sharedAcrossPlatforms; }
    void setSharedAcrossPlatforms(bool shared);

    // Once: when no state file exists yet, takes "sync.<name>.version",
    // "sync.<name>.dirty" and "syncEnabled" from the defaults of earlier
    // versions, saves, and removes those keys once the file is written.
    void migrateIfNeeded(UserDefaults& defaults, const QStringList& canonicalKeys);

    // All five keys with their types, or nothing.
    static std::optional<State> decode(const QByteArray& bytes);
    static QByteArray encode(const State& state);

private:
    bool save();

    QString m_file;
    State m_state;
};

} // namespace ovrel
