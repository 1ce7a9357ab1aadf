#pragma once

#include <QString>
#include <QVariantMap>
#include <optional>

namespace ovrel {

// The shape and naming of a resident module's background agent: a property
// list per module, labelled "vn.ovrel.module.<id>". Pure functions.
namespace ResidentAgentPlan {

// Marks an agent as the hub's; 16 characters.
inline constexpr const char* kLabelPrefix = "vn.ovrel.module.";
inline constexpr const char* kPlistSuffix = ".plist";
// Seconds between two starts of a module; what the hub always asks for.
inline constexpr int kThrottleSeconds = 10;

QString label(const QString& id);
QString plistFileName(const QString& id);
// The id in a file name of the form "vn.ovrel.module.<valid id>.plist".
std::optional<QString> idFromPlistFileName(const QString& fileName);

// <bundle>/Contents/MacOS/<CFBundleExecutable>, when the bundle's Info.plist
// is a dictionary naming one plain, non-empty file name. Whether the file
// exists is not checked.
std::optional<QString> executableURL(const QString& bundle);

// The agent: Label, AssociatedBundleIdentifiers, ProgramArguments, RunAtLoad,
// KeepAlive {SuccessfulExit = false}, ThrottleInterval, ProcessType.
QVariantMap plist(const QString& id, const QString& executable, int throttleSeconds);

} // namespace ResidentAgentPlan

} // namespace ovrel
