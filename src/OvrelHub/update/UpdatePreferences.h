#pragma once

#include "Platform/plist/UserDefaults.h"

#include <QString>
#include <optional>

namespace ovrel {

// The self-update keys of the hub's user defaults: "updateFeedURL" (replaces
// the built-in feed address) and "lastNotifiedVersion" (the version of the
// last update notification, so each version is announced once).
namespace UpdatePreferences {

inline constexpr const char* kUpdateFeedURL = "updateFeedURL";
inline constexpr const char* kLastNotifiedVersion = "lastNotifiedVersion";

std::optional<QString> feedURLOverride(UserDefaults& defaults = UserDefaults::standard());
std::optional<QString> lastNotifiedVersion(UserDefaults& defaults = UserDefaults::standard());
// A failed write is logged: the version may then be announced again.
void setLastNotifiedVersion(const QString& version,
                            UserDefaults& defaults = UserDefaults::standard());

} // namespace UpdatePreferences

} // namespace ovrel
