#pragma once

#include "OvrelHub/store/BundleMover.h"
#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QString>

namespace ovrel {

// Puts a verified bundle into Modules/<id>/ in place of the previous version.
// The previous module directory waits as Modules/<id>.bak until the new bundle
// is in place and is restored if it cannot be; a backup left by an attempt
// that was interrupted is dealt with first.
//
// Besides its one bundle the module directory holds files the module keeps
// (its permission status, dynamic menu, start log, a pending command); they
// move on to the new directory instead of being deleted with the old bundle.
class BundleSwap {
public:
    BundleSwap(ModulePaths paths, BundleMoving moveBundle)
        : m_paths(std::move(paths)), m_moveBundle(std::move(moveBundle)) {}

    // `id` must be a valid module id and the bundle's name a valid app name.
    // Returns the installed bundle's path. Throws InstallError::installFailed
    // when the previous directory could not be set aside or the new bundle
    // could not be moved in (the previous version is then restored).
    QString swapIn(const QString& id, const QString& bundle) const;

    // Modules/<id>.bak
    static QString backupDir(const ModulePaths& paths, const QString& id);

private:
    void recoverLeftOverBackup(const QString& id) const;
    void rollBack(const QString& id, bool hadPrevious) const;
    void carryOverModuleFiles(const QString& id) const;

    ModulePaths m_paths;
    BundleMoving m_moveBundle;
};

} // namespace ovrel
