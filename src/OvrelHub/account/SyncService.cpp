#include "OvrelHub/account/SyncService.h"

#include "OvrelHub/account/AuthService.h"
#include "OvrelHub/account/ModuleSettingsSyncStream.h"
#include "OvrelHub/account/SessionStore.h"
#include "OvrelHub/account/SyncStateStore.h"
#include "OvrelHub/shell/ServiceClient.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "OvrelHub/shell/Trace.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

namespace ovrel {

namespace {

QString actionName(SyncAction action) {
    switch (action) {
    case SyncAction::push:
        return QStringLiteral("push");
    case SyncAction::pullApply:
        return QStringLiteral("pullApply");
    case SyncAction::conflict:
        return QStringLiteral("conflict");
    case SyncAction::noop:
        return QStringLiteral("noop");
    case SyncAction::adoptVersion:
        return QStringLiteral("adoptVersion");
    }
    return {};
}

// A JSON object with an integer "version": the only answers sync acts on.
std::optional<QJsonObject> versionedObject(const QByteArray& body, qint64* version) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue value = document.object().value(QStringLiteral("version"));
    constexpr qint64 noInteger = std::numeric_limits<qint64>::min();
    if (!value.isDouble() || value.toInteger(noInteger) == noInteger)
        return std::nullopt;
    *version = value.toInteger();
    return document.object();
}

QJsonValue dataOr(const QJsonObject& object, const SyncStream& stream) {
    const QJsonValue data = object.value(QStringLiteral("data"));
    return data.isUndefined() || data.isNull() ? stream.emptyPayload() : data;
}

} // namespace

SyncService::SyncService(QList<SyncStream> streams, Collaborators collaborators, QObject* parent)
    : QObject(parent), m_streams(std::move(streams)), m_state(collaborators.state),
      m_defaults(collaborators.defaults), m_sessions(collaborators.sessions),
      m_client(collaborators.client), m_apiBase(std::move(collaborators.apiBase)),
      m_auth(collaborators.auth), m_uploadDelay(collaborators.uploadDelay),
      m_syncEnabled(m_state.syncEnabled()),
      m_sharedAcrossPlatforms(m_state.sharedAcrossPlatforms()) {}

SyncService::~SyncService() = default;

QList<SyncStream> SyncService::hubStreams(const ModulePaths& paths) {
    return {ModuleSettingsSyncStream::make(paths)};
}

QStringList SyncService::canonicalStreamNames() {
    return {QStringLiteral("settings"),       QStringLiteral("settings.macos"),
            QStringLiteral("shorthand"),      QStringLiteral("personalDict"),
            QStringLiteral("moduleSettings"), QStringLiteral("moduleSettings.macos")};
}

QStringList SyncService::syncDeletePaths() {
    QStringList paths;
    for (const QString& name : canonicalStreamNames() + QStringList{QStringLiteral("sshServers"),
                                                                    QStringLiteral("sshSnippets")})
        paths.append(QStringLiteral("/api/sync/") + name);
    return paths;
}

QString SyncService::effectiveKey(const SyncStream& stream) const {
    return stream.effectiveKey(m_sharedAcrossPlatforms);
}

const SyncStream* SyncService::streamWithEffectiveKey(const QString& key) const {
    for (const SyncStream& stream : m_streams) {
        if (effectiveKey(stream) == key)
            return &stream;
    }
    return nullptr;
}

std::optional<QString> SyncService::token() const {
    return m_sessions.token();
}

bool SyncService::canSync() const {
    return m_syncEnabled && token().has_value();
}

SyncStatus SyncService::status(const QString& effectiveKey) const {
    return m_status.value(effectiveKey, SyncStatus::idle);
}

bool SyncService::hasConflict(const QString& effectiveKey) const {
    return m_conflict.value(effectiveKey, false);
}

std::optional<SyncService::PendingServer>
SyncService::pendingServer(const QString& effectiveKey) const {
    const auto it = m_pendingServer.constFind(effectiveKey);
    if (it == m_pendingServer.constEnd())
        return std::nullopt;
    return *it;
}

void SyncService::start() {
    m_state.migrateIfNeeded(m_defaults, canonicalStreamNames());
    for (const SyncStream& stream : m_streams)
        m_lastSnapshot.insert(effectiveKey(stream), stream.snapshot());
    if (m_auth) {
        connect(m_auth, &AuthService::currentUserSet, this, [this] {
            if (m_auth->currentUser())
                syncNow();
        });
    }
    // Also stands for the user known at subscription: one sync, not two.
    syncNow();
}

void SyncService::syncNow() {
    if (!canSync())
        return;
    for (const SyncStream& stream : m_streams)
        pull(stream);
}

bool SyncService::beginOperation(const QString& key) {
    if (m_inFlight.contains(key))
        return false;
    m_inFlight.insert(key);
    return true;
}

void SyncService::endOperation(const QString& key) {
    m_inFlight.remove(key);
    emit operationFinished(key);
    if (m_pushAfter.remove(key)) {
        m_syncAfter.remove(key);
        push(key);
    } else if (m_syncAfter.remove(key)) {
        if (const SyncStream* stream = streamWithEffectiveKey(key))
            pull(*stream);
    }
}

void SyncService::noticeUnauthorized(const ServiceReply& reply) {
    if (reply.isStatus(401) && m_auth)
        m_auth->me();
}

void SyncService::pull(const SyncStream& stream) {
    const QString key = effectiveKey(stream);
    if (!beginOperation(key)) {
        m_syncAfter.insert(key);
        return;
    }
    const std::optional<QString> sessionToken = token();
    const std::optional<QUrl> url = ServiceEndpoints::sync(m_apiBase(), key);
    if (!sessionToken || !url) {
        endOperation(key);
        return;
    }
    ServiceClient::Request request;
    request.url = *url;
    request.token = sessionToken;
    m_client.send(request, this, [this, key](const ServiceReply& reply) {
        noticeUnauthorized(reply);
        const SyncStream* stream = streamWithEffectiveKey(key);
        qint64 version = 0;
        const auto object = versionedObject(reply.body, &version);
        if (!stream || !object) {
            Trace::log([&] {
                return QStringLiteral("sync pull ") + key +
                       QStringLiteral(" không dùng được (HTTP ") +
                       (reply.status ? QString::number(*reply.status) : QStringLiteral("—")) +
                       QStringLiteral(")");
            });
            endOperation(key);
            return;
        }
        reconcile(key, dataOr(*object, *stream), version);
    });
}

void SyncService::reconcile(const QString& key, const QJsonValue& server, qint64 serverVersion) {
    const SyncStream& stream = *streamWithEffectiveKey(key);
    const QJsonValue local = stream.snapshot();
    const ContentRelation relation =
        SyncDecision::contentRelation(local, server, stream.emptyPayload());
    const SyncAction action =
        SyncDecision::decide(m_state.isDirty(key), m_state.version(key), serverVersion, relation);
    Trace::log([&] {
        return QStringLiteral("sync ") + key + QStringLiteral(": server v") +
               QString::number(serverVersion) + QStringLiteral(", local v") +
               QString::number(m_state.version(key)) + QStringLiteral(" → ") + actionName(action);
    });
    const BookkeepingWrite write = SyncDecision::bookkeepingEffect(action, serverVersion);
    switch (action) {
    case SyncAction::push:
        upload(key); // the pull's turn goes on with the upload
        return;
    case SyncAction::pullApply:
        applyServerPayload(stream, server);
        applyBookkeeping(key, write);
        m_pendingServer.remove(key);
        m_lastSnapshot.insert(key, stream.snapshot());
        break;
    case SyncAction::conflict:
        m_pendingServer.insert(key, {server, serverVersion});
        applyBookkeeping(key, write);
        break;
    case SyncAction::noop:
        applyBookkeeping(key, write);
        break;
    case SyncAction::adoptVersion:
        applyBookkeeping(key, write);
        m_pendingServer.remove(key);
        m_lastSnapshot.insert(key, stream.snapshot());
        break;
    }
    endOperation(key);
}

bool SyncService::uploadedIsCurrent(const QString& key, const QJsonValue& uploaded) const {
    const SyncStream* stream = streamWithEffectiveKey(key);
    return !stream || SyncDecision::jsonEqual(stream->snapshot(), uploaded);
}

void SyncService::applyServerPayload(const SyncStream& stream, const QJsonValue& data) {
    m_applying = true;
    stream.apply(data);
    m_applying = false;
}

void SyncService::applyBookkeeping(const QString& key, const BookkeepingWrite& write) {
    if (write.version || write.dirty) {
        SyncStateStore::Entry entry{m_state.version(key), m_state.isDirty(key)};
        if (write.version)
            entry.version = *write.version;
        if (write.dirty)
            entry.dirty = *write.dirty;
        m_state.setEntry(key, entry);
    }
    if (write.conflict)
        setConflict(key, *write.conflict);
    if (write.status)
        setStatus(key, *write.status);
}

void SyncService::setStatus(const QString& key, SyncStatus status) {
    m_status.insert(key, status);
    emit statusChanged(key);
}

void SyncService::setConflict(const QString& key, bool conflict) {
    m_conflict.insert(key, conflict);
    emit conflictChanged(key);
}

void SyncService::markPossiblyChanged(const QString& baseKey) {
    if (m_applying || !canSync())
        return;
    const auto stream = std::find_if(m_streams.cbegin(), m_streams.cend(),
                                     [&](const SyncStream& s) { return s.key == baseKey; });
    if (stream == m_streams.cend())
        return;
    const QString key = effectiveKey(*stream);
    const QJsonValue snapshot = stream->snapshot();
    const auto last = m_lastSnapshot.constFind(key);
    if (last != m_lastSnapshot.constEnd() && SyncDecision::jsonEqual(*last, snapshot))
        return;
    m_lastSnapshot.insert(key, snapshot);
    m_state.setDirty(key, true);
    scheduleUpload(key);
}

void SyncService::scheduleUpload(const QString& key) {
    QTimer*& timer = m_debounce[key];
    if (!timer) {
        timer = new QTimer(this);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, key] { push(key); });
    }
    timer->start(m_uploadDelay);
}

void SyncService::push(const QString& key) {
    if (!canSync())
        return;
    // Nothing to send when an upload meanwhile took the change along.
    if (!streamWithEffectiveKey(key) || !m_state.isDirty(key))
        return;
    if (!beginOperation(key)) {
        m_pushAfter.insert(key);
        return;
    }
    upload(key);
}

void SyncService::upload(const QString& key) {
    const QJsonValue payload = streamWithEffectiveKey(key)->snapshot();
    put(key, payload, m_state.version(key), [this, key, payload](const PutResult& result) {
        finishUpload(key, payload, result);
        endOperation(key);
    });
}

void SyncService::finishUpload(const QString& key, const QJsonValue& payload,
                               const PutResult& result) {
    switch (result.kind) {
    case PutKind::ok:
        // A change made while the upload was under way stays marked.
        m_state.setEntry(key, {result.version, !uploadedIsCurrent(key, payload)});
        setConflict(key, false);
        setStatus(key, SyncStatus::synced);
        break;
    case PutKind::conflict:
        m_pendingServer.insert(key, {result.data, result.version});
        setConflict(key, true);
        setStatus(key, SyncStatus::conflict);
        break;
    case PutKind::failed:
        setStatus(key, SyncStatus::networkError);
        break;
    }
}

void SyncService::put(const QString& key, const QJsonValue& payload, qint64 baseVersion,
                      PutCompletion completion) {
    const std::optional<QString> sessionToken = token();
    const std::optional<QUrl> url = ServiceEndpoints::sync(m_apiBase(), key);
    if (!sessionToken || !url) {
        completion(PutResult{});
        return;
    }
    ServiceClient::Request request;
    request.method = "PUT";
    request.url = *url;
    request.token = sessionToken;
    request.contentType = "application/json";
    request.body = QJsonDocument(QJsonObject{{QStringLiteral("data"), payload},
                                             {QStringLiteral("baseVersion"), baseVersion}})
                       .toJson(QJsonDocument::Compact);
    m_client.send(request, this, [this, key, completion](const ServiceReply& reply) {
        noticeUnauthorized(reply);
        const SyncStream* stream = streamWithEffectiveKey(key);
        const PutResult result = stream ? putResult(reply, *stream) : PutResult{};
        Trace::log([&] {
            return QStringLiteral("sync upload ") + key + QStringLiteral(": HTTP ") +
                   (reply.status ? QString::number(*reply.status) : QStringLiteral("—"));
        });
        completion(result);
    });
}

SyncService::PutResult SyncService::putResult(const ServiceReply& reply,
                                              const SyncStream& stream) const {
    qint64 version = 0;
    const auto object = versionedObject(reply.body, &version);
    if (!object)
        return {};
    if (reply.isStatus(409))
        return {PutKind::conflict, version, dataOr(*object, stream)};
    if (reply.isStatus(200))
        return {PutKind::ok, version, {}};
    return {};
}

void SyncService::resolveConflict(const QString& key, bool keepCloud) {
    const SyncStream* stream = streamWithEffectiveKey(key);
    if (!stream)
        return;
    const std::optional<PendingServer> pending = pendingServer(key);
    if (!pending)
        return;
    m_pendingServer.remove(key);
    if (keepCloud) {
        applyServerPayload(*stream, pending->data);
        m_lastSnapshot.insert(key, stream->snapshot());
        m_state.setEntry(key, {pending->version, false});
        setConflict(key, false);
        setStatus(key, SyncStatus::synced);
        emit operationFinished(key);
        return;
    }
    const QJsonValue payload = stream->snapshot();
    put(key, payload, pending->version, [this, key, payload](const PutResult& result) {
        if (result.kind == PutKind::ok) {
            finishUpload(key, payload, result);
        } else {
            // The server changed again: keep its data so the user can choose anew.
            if (result.kind == PutKind::conflict)
                m_pendingServer.insert(key, {result.data, result.version});
            setStatus(key, SyncStatus::networkError);
        }
        emit operationFinished(key);
    });
}

void SyncService::setSyncEnabled(bool enabled) {
    m_syncEnabled = enabled;
    m_state.setSyncEnabled(enabled);
    emit syncEnabledChanged();
    if (enabled)
        syncNow();
}

void SyncService::setSharedAcrossPlatforms(bool shared) {
    m_sharedAcrossPlatforms = shared;
    m_state.setSharedAcrossPlatforms(shared);
    emit sharedAcrossPlatformsChanged();
    syncNow();
}

void SyncService::resetLocalSyncState() {
    for (const QString& name : canonicalStreamNames()) {
        m_state.setEntry(name, {0, false});
        setConflict(name, false);
        setStatus(name, SyncStatus::idle);
    }
    m_pendingServer.clear();
}

void SyncService::deleteAllSyncData(Deleter deleter, std::function<void(bool)> done) {
    struct Run {
        QStringList paths;
        qsizetype next = 0;
        bool allSucceeded = true;
        Deleter deleter;
        std::function<void(bool)> done;
        std::function<void()> step;
    };
    auto run = std::make_shared<Run>();
    run->paths = syncDeletePaths();
    run->deleter = std::move(deleter);
    run->done = std::move(done);
    run->step = [weak = std::weak_ptr<Run>(run)] {
        const std::shared_ptr<Run> self = weak.lock();
        if (!self)
            return;
        if (self->next == self->paths.size()) {
            self->done(self->allSucceeded);
            return;
        }
        const QString path = self->paths.at(self->next++);
        self->deleter(path, [self](bool ok) {
            self->allSucceeded = self->allSucceeded && ok;
            self->step();
        });
    };
    run->step();
}

} // namespace ovrel
