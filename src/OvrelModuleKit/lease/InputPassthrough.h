#pragma once

#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/system/UnixTime.h"

#include <QLatin1String>
#include <QString>
#include <optional>

namespace ovrel {

// Who holds the input-passthrough lease and until when (seconds since 1970).
struct InputPassthroughLease {
    QString owner;
    double until = 0;

    bool operator==(const InputPassthroughLease& other) const = default;
};

// A time-limited request that components processing keyboard input let it
// pass untouched. One lease at a time, in input-passthrough.json at the root;
// the last writer wins and nobody checks ownership. Expiry is not announced:
// consumers ask isActive when they next act on input.
namespace InputPassthrough {

inline constexpr QLatin1String notificationName{"vn.ovrel.input-passthrough"};

// Larger files are not leases.
inline constexpr qint64 kMaxFileBytes = 1024 * 1024;

QString file(const ModulePaths& paths);

// Writes {"owner":…,"until":now+ttl} atomically, replacing any lease, then
// posts the notification. Renewing is acquiring again. Throws FileError or
// JsonEncodingError (a ttl that makes until infinite or NaN); posts nothing then.
void acquire(const QString& owner, double ttl, const ModulePaths& paths, UnixTime::TimePoint now);

// Removes the lease file if there is one and always posts the notification.
void release(const ModulePaths& paths);

// True exactly when a lease reads back and now is strictly before its end.
bool isActive(const ModulePaths& paths, UnixTime::TimePoint now);

// The stored lease, expired or not; nothing when the file is missing or invalid.
std::optional<InputPassthroughLease> lease(const ModulePaths& paths);

} // namespace InputPassthrough

} // namespace ovrel
