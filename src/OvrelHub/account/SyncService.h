#pragma once

#include "OvrelConfig/SyncDecision.h"
#include "OvrelHub/account/SyncStream.h"

#include <QHash>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <chrono>
#include <functional>
#include <optional>

class QTimer;

namespace ovrel {

class AuthService;
class ModulePaths;
class ServiceClient;
class SessionStore;
class SyncStateStore;
class UserDefaults;
struct ServiceReply;

// Keeps each stream's payload in step with the service: pulls and decides
// (SyncDecision) whether to upload, download, adopt the server's version, do
// nothing or report a conflict; uploads local changes 3 seconds after the last
// one; resolves a conflict by the user's choice. A conflict keeps both sides
// (the server's in memory, the local data untouched) until the user chooses;
// a failed upload keeps the dirty flag, so nothing local is lost.
//
// Per effective stream key one request is in flight at a time; a sync asked
// for meanwhile runs after it. A 401 from the service asks the sign-in
// service to check the session (which signs out and reports the loss when the
// service confirms it). Signed out or switched off, every entry point does
// nothing. Main thread only; borrows its collaborators, which must outlive it.
class SyncService : public QObject {
    Q_OBJECT
public:
    struct Collaborators {
        SyncStateStore& state;
        UserDefaults& defaults; // the old sync keys to migrate
        const SessionStore& sessions;
        ServiceClient& client;
        std::function<QString()> apiBase;
        AuthService* auth = nullptr; // syncs on each confirmed user; told of a 401
        std::chrono::milliseconds uploadDelay = std::chrono::seconds(3);
    };

    struct PendingServer {
        QJsonValue data;
        qint64 version = 0;
    };

    SyncService(QList<SyncStream> streams, Collaborators collaborators, QObject* parent = nullptr);
    ~SyncService() override;

    // This edition's streams: "moduleSettings" alone.
    static QList<SyncStream> hubStreams(const ModulePaths& paths);

    // The stream names any edition uses, for the state migration and resets.
    static QStringList canonicalStreamNames();
    // "/api/sync/" + every stream name of every edition, in deletion order.
    static QStringList syncDeletePaths();

    const QList<SyncStream>& streams() const { return m_streams; }
    QString effectiveKey(const SyncStream& stream) const;

    // Once at launch: migrates old state, remembers the current payloads,
    // follows the signed-in user and syncs.
    void start();
    void syncNow();
    // After a local edit of a stream (by base key).
    void markPossiblyChanged(const QString& baseKey);
    void onModuleSettingsChanged() { markPossiblyChanged(QStringLiteral("moduleSettings")); }
    void resolveConflict(const QString& effectiveKey, bool keepCloud);

    SyncStatus status(const QString& effectiveKey) const;
    bool hasConflict(const QString& effectiveKey) const;
    std::optional<PendingServer> pendingServer(const QString& effectiveKey) const;

    bool syncEnabled() const { return m_syncEnabled; }
    void setSyncEnabled(bool enabled);
    bool sharedAcrossPlatforms() const { return m_sharedAcrossPlatforms; }
    void setSharedAcrossPlatforms(bool shared);

    // After the server data was deleted: every canonical stream back to never
    // synchronised, idle, no conflict.
    void resetLocalSyncState();
    using Deleter = std::function<void(const QString& path, std::function<void(bool)> done)>;
    // Calls deleter for each path in turn, also after a failure; done gets
    // whether all succeeded.
    static void deleteAllSyncData(Deleter deleter, std::function<void(bool)> done);

signals:
    void statusChanged(const QString& effectiveKey);
    void conflictChanged(const QString& effectiveKey);
    void syncEnabledChanged();
    void sharedAcrossPlatformsChanged();
    // One pull, upload or resolution of a stream finished (tests wait for it).
    void operationFinished(const QString& effectiveKey);

private:
    enum class PutKind { ok, conflict, failed };
    struct PutResult {
        PutKind kind = PutKind::failed;
        qint64 version = 0;
        QJsonValue data;
    };
    using PutCompletion = std::function<void(const PutResult&)>;

    const SyncStream* streamWithEffectiveKey(const QString& key) const;
    std::optional<QString> token() const;
    bool canSync() const;

    // One request per key at a time; the follow-up runs once it finishes.
    bool beginOperation(const QString& key);
    void endOperation(const QString& key);

    void pull(const SyncStream& stream);
    void reconcile(const QString& key, const QJsonValue& server, qint64 serverVersion);
    // Debounced upload: waits its turn.
    void push(const QString& key);
    // Within the key's turn; ends it.
    void upload(const QString& key);
    void put(const QString& key, const QJsonValue& payload, qint64 baseVersion,
             PutCompletion completion);
    PutResult putResult(const ServiceReply& reply, const SyncStream& stream) const;
    void finishUpload(const QString& key, const QJsonValue& payload, const PutResult& result);
    bool uploadedIsCurrent(const QString& key, const QJsonValue& uploaded) const;
    void applyServerPayload(const SyncStream& stream, const QJsonValue& data);
    void applyBookkeeping(const QString& key, const BookkeepingWrite& write);
    void setStatus(const QString& key, SyncStatus status);
    void setConflict(const QString& key, bool conflict);
    void noticeUnauthorized(const ServiceReply& reply);
    void scheduleUpload(const QString& key);

    QList<SyncStream> m_streams;
    SyncStateStore& m_state;
    UserDefaults& m_defaults;
    const SessionStore& m_sessions;
    ServiceClient& m_client;
    std::function<QString()> m_apiBase;
    AuthService* m_auth;
    std::chrono::milliseconds m_uploadDelay;

    bool m_syncEnabled;
    bool m_sharedAcrossPlatforms;
    QHash<QString, SyncStatus> m_status;
    QHash<QString, bool> m_conflict;
    bool m_applying = false;
    QHash<QString, QJsonValue> m_lastSnapshot;
    QHash<QString, QTimer*> m_debounce;
    QHash<QString, PendingServer> m_pendingServer;
    QSet<QString> m_inFlight;
    QSet<QString> m_syncAfter;
    QSet<QString> m_pushAfter;
};

} // namespace ovrel
