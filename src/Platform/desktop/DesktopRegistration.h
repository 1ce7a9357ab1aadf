#pragma once

#include <QString>

namespace ovrel {

// Makes the desktop know an installed program: its desktop entry in the
// user's applications directory, and the program as the default handler of
// the URL schemes it declares, so that a browser hands those links to it.
namespace DesktopRegistration {

// `entryTemplate` with every "@EXEC@" replaced by `program` quoted as the
// desktop entry format asks for an Exec argument.
QString entryText(const QString& entryTemplate, const QString& program);

// Writes "<desktopId>.desktop" into $XDG_DATA_HOME/applications and returns
// its path. Throws FileError.
QString installEntry(const QString& desktopId, const QString& text);

// Records `desktopId` as the default application for `mimeType` (such as
// "x-scheme-handler/ovrel-lite") in $XDG_CONFIG_HOME/mimeapps.list, keeping
// every other line of the file. Throws FileError; a file too large to be a
// list of associations is left alone and reported as an error.
void setDefaultApplication(const QString& mimeType, const QString& desktopId);

// The same change on the text of a mimeapps.list.
QString withDefaultApplication(const QString& mimeApps, const QString& mimeType,
                               const QString& desktopId);

} // namespace DesktopRegistration

} // namespace ovrel
