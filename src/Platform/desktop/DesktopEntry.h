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

// The words of an Exec value with the desktop entry format's double quotes and
// escapes undone; empty for a value with an unclosed quote.
QStringList execWords(const QString& exec);

// What an Exec line starts. `env` with its options and VAR=value assignments
// is looked through; launchers that start something they do not name as a
// program (flatpak run, snap, gtk-launch, sh -c "...", env -S "...") hide it.
struct ExecTarget {
    enum class Kind { program, hidden, none };
    Kind kind = Kind::none;
    QString program; // the program (program), or the launcher (hidden)
    bool operator==(const ExecTarget&) const = default;
};
ExecTarget execTarget(const QStringList& words);

// The program of the entry's Exec key, resolved through PATH when relative;
// none when a launcher hides it.
std::optional<QString> executable(const QString& desktopFile);

// The file that stands for the installed application: its program, or the
// desktop entry itself when a launcher hides the program (a wrapper is never
// named in its place).
std::optional<QString> installedLocation(const QString& desktopFile);

} // namespace DesktopEntry

} // namespace ovrel
