#pragma once

#include <QJsonValue>
#include <QString>
#include <optional>

namespace ovrel {

// What one sync of a stream does, decided from the local bookkeeping and the
// server's answer. Shared by every edition so all decide alike.
enum class SyncAction { push, pullApply, conflict, noop, adoptVersion };

// How the local payload relates to the server's.
enum class ContentRelation {
    same,       // equal to the server payload
    localEmpty, // not the same, and equal to the stream's empty payload
    different,
};

// Per stream, shown in the account tab; never stored.
enum class SyncStatus { idle, synced, conflict, networkError };

// The state changes that follow a decision; absent fields stay as they are.
struct BookkeepingWrite {
    std::optional<qint64> version;
    std::optional<bool> dirty;
    std::optional<bool> conflict;
    std::optional<SyncStatus> status;

    bool operator==(const BookkeepingWrite&) const = default;
};

namespace SyncDecision {

// lastSynced 0 means the stream was never synchronised on this machine.
SyncAction decide(bool dirty, qint64 lastSynced, qint64 serverVersion, ContentRelation relation);

ContentRelation contentRelation(const QJsonValue& local, const QJsonValue& server,
                                const QJsonValue& empty);

// push changes nothing here: the upload's own answer decides.
BookkeepingWrite bookkeepingEffect(SyncAction action, qint64 serverVersion);

// Value equality of JSON structures: objects by keys and values, arrays element
// by element, numbers by numeric value (1 equals 1.0, integers compared
// exactly). A Boolean never equals a number: payloads keep each value's type.
bool jsonEqual(const QJsonValue& a, const QJsonValue& b);

} // namespace SyncDecision

} // namespace ovrel
