#pragma once

#include <QString>
#include <optional>

namespace ovrel {

// The one mapping from an application's bundle identifier to its name on the
// D-Bus session bus and the object path of its org.freedesktop.Application
// interface. The hub (activating a module) and the module (exporting the
// interface) both call these functions, so the two ends always agree.
//
// A bundle identifier is two or more dot-separated elements of ASCII letters,
// digits and "-" (modules: "vn.ovrel.module." + id, ids being a-z, 0-9, "-").
// A well-known bus name allows the same characters, except that an element
// may not start with a digit: such an element gets a leading "_". Identifiers
// never contain "_", so the mapping is one-to-one:
//   vn.ovrel.module.clock    -> vn.ovrel.module.clock
//   vn.ovrel.module.2fa-otp  -> vn.ovrel.module._2fa-otp
// The object path is "/" + the bus name with "." -> "/" and "-" -> "_", as the
// freedesktop Application convention says: /vn/ovrel/module/_2fa_otp.
namespace ModuleBusName {

constexpr const char* kApplicationInterface = "org.freedesktop.Application";
constexpr int kMaxBusNameLength = 255;

// No value when the identifier has another shape or the name would be too long.
std::optional<QString> forBundleIdentifier(const QString& bundleIdentifier);

// Defined for names made by forBundleIdentifier.
QString objectPath(const QString& busName);

} // namespace ModuleBusName

} // namespace ovrel
