#pragma once

#include "OvrelHub/store/BundleMover.h"
#include "OvrelHub/store/PendingInstall.h"
#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace ovrel {

// Puts a verified bundle into Modules/<id>/ in place of the previous version.
// The previous module directory waits as Modules/<id>.bak until the new bundle
// is in place and is restored if it cannot be; a backup left by an attempt
// that was interrupted is dealt with first.
//
// Besides its one bundle the module directory holds files the module keeps
// (its permission status, dynamic menu, start log, a pending command); they
// move on to the new directory instead of being deleted with the old bundle.
//
// Every step is a rename or ends in one, so a process killed anywhere leaves
// a state that settleLeftOverBackup() and the pending install complete: the
// new bundle in place with the module's files, or the previous directory back.
class BundleSwap {
public:
    // What becomes of the replaced directory once the new bundle is in: removed
    // at once, or left as Modules/<id>.bak for settleLeftOverBackup() after
    // the install has returned (removing a large bundle is a good part of an
    // update's time).
    enum class Replaced { remove, keepForDiscard };

    BundleSwap(ModulePaths paths, BundleMoving moveBundle, Replaced replaced = Replaced::remove)
        : m_paths(std::move(paths)), m_moveBundle(std::move(moveBundle)), m_replaced(replaced) {}

    // `id` must be a valid module id and the bundle's name a valid app name.
    // `pending`, when given, is written once the previous directory is set
    // aside. Returns the installed bundle's path. Throws
    // InstallError::installFailed when the previous directory could not be set
    // aside or the new bundle could not be moved in (the previous version is
    // then restored).
    QString swapIn(const QString& id, const QString& bundle,
                   const PendingInstall* pending = nullptr) const;

    // A backup left by an interrupted attempt: when the module directory
    // holds a bundle, the swap got that far, so the module's files still in
    // the backup move on and the backup goes; otherwise the backup is the
    // installed version and is put back. Nothing when there is no backup.
    void settleLeftOverBackup(const QString& id) const;

    // settleLeftOverBackup(), except that a backup which goes is renamed to
    // `aside` (a new path in the staging area) instead of being deleted
    // here; returns that path then, so the caller deletes it when it suits.
    // When the rename fails the backup is deleted at once.
    std::optional<QString> setAsideLeftOverBackup(const QString& id, const QString& aside) const;

    // The bundles (valid "*.app" directory names) a directory holds.
    static QStringList bundlesIn(const QString& directory);

    // Modules/<id>.bak
    static QString backupDir(const ModulePaths& paths, const QString& id);

private:
    void restoreBackup(const QString& id) const;
    void rollBack(const QString& id, bool hadPrevious) const;
    void carryOverModuleFiles(const QString& from, const QString& to) const;

    ModulePaths m_paths;
    BundleMoving m_moveBundle;
    Replaced m_replaced;
};

} // namespace ovrel
