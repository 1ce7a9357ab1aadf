#pragma once

#include "OvrelHub/modules/ModulesState.h"
#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QString>
#include <optional>

namespace ovrel {

// The state entry an install is about to record, written to
// .staging/<id>.pending.json once the previous module directory has been set
// aside and before the new bundle moves in, and removed once the entry is
// recorded. A process killed in between leaves it behind: start-up then
// records it when Modules/<id>/ holds the bundle it names (the move happened)
// and drops it otherwise (the previous version is restored from its backup).
struct PendingInstall {
    QString id;
    QString appName;
    QString version;
    bool quickAccessDefault = false; // the manifest's, for a first install

    // Adds or replaces the entry, keeping every choice the user made for a
    // previous version; a first install gets the defaults.
    void applyTo(ModulesState& state) const;

    // Durable; throws FileError.
    void write(const ModulePaths& paths) const;
    static void remove(const ModulePaths& paths, const QString& id);
    // Every readable pending install; unreadable files are removed.
    static std::vector<PendingInstall> readAll(const ModulePaths& paths);

    static QString path(const ModulePaths& paths, const QString& id);
};

} // namespace ovrel
