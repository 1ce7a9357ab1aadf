#pragma once

#include "OvrelHub/shortcuts/ShortcutBackend.h"

#include <QByteArray>

namespace ovrel {

// The shortcut is a desktop entry "<link>.desktop" (in
// $XDG_DATA_HOME/applications, where application menus and launchers look):
// Name is the link's name, Icon the bundle's icon, and Exec starts the
// module's program directly. Directly rather than through the hub: the
// launcher then works while the hub is not running, and a module is one
// instance by itself (a second start hands over to the first). The entry
// points into the bundle, whose path an in-place update keeps.
class DesktopEntryBackend : public ShortcutBackend {
public:
    // Throws FileError when the bundle names no executable or the entry cannot
    // be written.
    void create(const QString& link, const QString& target) override;
    bool exists(const QString& link) const override;
    void remove(const QString& link) override;

    static QString entryFile(const QString& link) { return link + QStringLiteral(".desktop"); }
    // The entry's text; empty when the bundle names no executable.
    static QByteArray entryText(const QString& name, const QString& bundle);
};

} // namespace ovrel
