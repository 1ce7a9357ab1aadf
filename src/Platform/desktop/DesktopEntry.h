#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace ovrel {

// The parts of freedesktop.org desktop entries the hub reads.
namespace DesktopEntry {

// $XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS/applications.
QStringList applicationDirectories();

// The first "<id>.desktop" found in applicationDirectories().
std::optional<QString> find(const QString& desktopId);

// The program of the entry's Exec key, resolved through PATH when relative.
std::optional<QString> executable(const QString& desktopFile);

} // namespace DesktopEntry

} // namespace ovrel
