#pragma once

#include <QString>
#include <QVariantMap>
#include <optional>

namespace ovrel {

// The bundle the running program was started from, when it runs as
// <Name>.app/Contents/MacOS/<executable>. Programs started from anywhere else
// have no bundle, hence no resources and no Info.plist.
namespace RunningBundle {

// Info.plist is a few kilobytes; anything far larger is not read.
inline constexpr qint64 kMaxInfoPlistBytes = 1024 * 1024;

// The bundle directory of the given executable directory (by default the
// running program's).
std::optional<QString> path();
std::optional<QString> bundleOf(const QString& executableDirectory);

// Contents/Info.plist as a dictionary; empty when there is none or it is unreadable.
QVariantMap infoDictionary();

// CFBundleName when it is a string, otherwise the process name.
QString applicationName();

} // namespace RunningBundle

} // namespace ovrel
