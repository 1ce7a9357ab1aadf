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
    // What becomes of the replaced directory once the new bundle is in: removed
    // at once, or left as Modules/<id>.bak for discardReplaced() after the
    // install has returned (removing a large bundle is a good part of an
    // update's time).
    enum class Replaced { remove, keepForDiscard };

    BundleSwap(ModulePaths paths, BundleMoving moveBundle, Replaced replaced = Replaced::remove)
        : m_paths(std::move(paths)), m_moveBundle(std::move(moveBundle)), m_replaced(replaced) {}

    // `id` must be a valid module id and the bundle's name a valid app name.
    // Returns the installed bundle's path. Throws InstallError::installFailed
    // when the previous directory could not be set aside or the new bundle
    // could not be moved in (the previous version is then restored).
    QString swapIn(const QString& id, const QString& bundle) const;

    // Modules/<id>.bak
    static QString backupDir(const ModulePaths& paths, const QString& id);

    // Removes Modules/<id>.bak when Modules/<id> is in place: the backup of a
    // finished swap. Without the module directory the backup is the only copy
    // left (a failed restore) and stays for the next install to recover.
    static void discardReplaced(const ModulePaths& paths, const QString& id);

private:
    void recoverLeftOverBackup(const QString& id) const;
    void rollBack(const QString& id, bool hadPrevious) const;
    void carryOverModuleFiles(const QString& id) const;

    ModulePaths m_paths;
    BundleMoving m_moveBundle;
    Replaced m_replaced;
};

} // namespace ovrel
