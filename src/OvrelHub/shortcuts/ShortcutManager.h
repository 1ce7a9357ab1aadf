#pragma once

#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/shortcuts/ShortcutBackend.h"

#include <QString>
#include <optional>

namespace ovrel {

// Puts a shortcut to a module's bundle among the user's applications and
// keeps the module's entry ("shortcutEnabled", "shortcutLinkName") in step
// with the shortcuts that really exist. The modules-state lock is held only
// around reading and writing the state, never across the file-system work;
// the state is read again before each write so other writers' changes stay.
// Borrows the state store and the backend. Main thread.
class ShortcutManager {
public:
    ShortcutManager(ModuleStateStore& state, ShortcutBackend& backend, QString userApplications);

    // Over the shared module services, with desktop entries.
    static ShortcutManager& shared();

    // $XDG_DATA_HOME/applications, where the desktop's menus look.
    static QString defaultUserApplications();

    // Turns the module's shortcut on (under the display name, or the id when
    // there is none) or off. Nothing happens for a module without an entry.
    void set(bool enabled, const QString& id, const std::optional<QString>& displayName);
    // Turns the flag off for every shortcut the user has deleted; creates nothing.
    void reconcileAll();

    // Trimmed of spaces and tabs, "Ovrel " in front unless it is there, "/"
    // and ":" replaced by "-".
    static QString linkName(const QString& displayName);

private:
    QString linkPath(const QString& name) const;
    static QString storedOrComputed(const InstalledModule& module, const QString& computed);

    ModuleStateStore& m_state;
    ShortcutBackend& m_backend;
    QString m_userApplications;
};

} // namespace ovrel
