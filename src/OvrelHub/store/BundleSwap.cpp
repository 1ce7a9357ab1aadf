#include "OvrelHub/store/BundleSwap.h"

#include "OvrelHub/modules/AppName.h"
#include "OvrelHub/store/FileTree.h"
#include "OvrelHub/store/InstallError.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/system/CrashPoint.h"
#include "Platform/system/SystemLog.h"

#include <QDir>
#include <QFileInfo>

namespace ovrel {

namespace {

QStringList entriesOf(const QString& directory) {
    return QDir(directory).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool isBundleName(const QString& name) {
    return AppName::isValid(name);
}

} // namespace

QString BundleSwap::backupDir(const ModulePaths& paths, const QString& id) {
    return paths.moduleDir(id) + QStringLiteral(".bak");
}

QStringList BundleSwap::bundlesIn(const QString& directory) {
    QStringList bundles;
    for (const QString& name : entriesOf(directory)) {
        const QFileInfo info(directory + QLatin1Char('/') + name);
        if (isBundleName(name) && info.isDir() && !info.isSymLink())
            bundles.append(name);
    }
    return bundles;
}

QString BundleSwap::swapIn(const QString& id, const QString& bundle,
                           const PendingInstall* pending) const {
    const QString moduleDir = m_paths.moduleDir(id);
    const QString backup = backupDir(m_paths, id);
    try {
        AtomicFile::makeDirectories(m_paths.modulesDir(), 0700);
    } catch (const FileError&) {
        // The moves below report what matters.
    }
    settleLeftOverBackup(id);
    try {
        // Whatever the archive or the picked bundle said, nobody else may
        // write into an installed module.
        FileTree::restrictPermissions(bundle);
    } catch (const FileError&) {
        throw InstallError::installFailed();
    }

    const bool hadPrevious = FileTree::exists(moduleDir);
    if (hadPrevious) {
        try {
            FileTree::rename(moduleDir, backup);
        } catch (const FileError&) {
            throw InstallError::installFailed();
        }
    }
    CrashPoint::reach("swap.previousSetAside");
    if (pending) {
        try {
            pending->write(m_paths);
        } catch (const FileError&) {
            rollBack(id, hadPrevious);
            throw InstallError::installFailed();
        }
    }
    CrashPoint::reach("swap.pendingWritten");

    const QString installed = moduleDir + QLatin1Char('/') + QFileInfo(bundle).fileName();
    try {
        AtomicFile::makeDirectories(moduleDir, 0700);
        CrashPoint::reach("swap.moduleDirCreated");
        m_moveBundle(bundle, installed);
    } catch (...) {
        rollBack(id, hadPrevious);
        if (pending)
            PendingInstall::remove(m_paths, id);
        throw InstallError::installFailed();
    }
    CrashPoint::reach("swap.bundleMovedIn");

    if (hadPrevious) {
        carryOverModuleFiles(backup, moduleDir);
        CrashPoint::reach("swap.filesCarriedOver");
        if (m_replaced == Replaced::remove)
            FileTree::remove(backup);
    }
    return installed;
}

void BundleSwap::settleLeftOverBackup(const QString& id) const {
    const QString moduleDir = m_paths.moduleDir(id);
    const QString backup = backupDir(m_paths, id);
    if (!FileTree::exists(backup))
        return;
    if (!bundlesIn(moduleDir).isEmpty()) {
        carryOverModuleFiles(backup, moduleDir);
        FileTree::remove(backup);
        return;
    }
    restoreBackup(id);
}

std::optional<QString> BundleSwap::setAsideLeftOverBackup(const QString& id,
                                                          const QString& aside) const {
    const QString moduleDir = m_paths.moduleDir(id);
    const QString backup = backupDir(m_paths, id);
    if (!FileTree::exists(backup))
        return std::nullopt;
    if (bundlesIn(moduleDir).isEmpty()) {
        restoreBackup(id);
        return std::nullopt;
    }
    carryOverModuleFiles(backup, moduleDir);
    try {
        // Out of Modules/ in one rename; recovery empties the staging area.
        FileTree::rename(backup, aside);
    } catch (const FileError&) {
        FileTree::remove(backup);
        return std::nullopt;
    }
    CrashPoint::reach("swap.backupSetAside");
    return aside;
}

void BundleSwap::restoreBackup(const QString& id) const {
    const QString moduleDir = m_paths.moduleDir(id);
    const QString backup = backupDir(m_paths, id);
    const QString name = QFileInfo(backup).fileName();
    SystemLog::write(QStringLiteral("Ovrel: module ") + id + QStringLiteral(" — thấy ") + name +
                     QStringLiteral(" sót lại mà bundle đích mất; khôi phục bản cũ trước khi cài"));
    // What was written into the module directory since it was set aside (an
    // empty directory, a command left for the module) joins the backup first.
    if (FileTree::exists(moduleDir)) {
        carryOverModuleFiles(moduleDir, backup);
        FileTree::remove(moduleDir);
    }
    try {
        FileTree::rename(backup, moduleDir);
    } catch (const FileError& error) {
        SystemLog::write(QStringLiteral("Ovrel: module ") + id +
                         QStringLiteral(" — không khôi phục được ") + name + QStringLiteral(": ") +
                         error.description());
    }
}

void BundleSwap::rollBack(const QString& id, bool hadPrevious) const {
    const QString moduleDir = m_paths.moduleDir(id);
    FileTree::remove(moduleDir);
    if (!hadPrevious)
        return;
    const QString backup = backupDir(m_paths, id);
    try {
        FileTree::rename(backup, moduleDir);
    } catch (const FileError& error) {
        SystemLog::write(QStringLiteral("Ovrel: module ") + id +
                         QStringLiteral(" — cài hỏng VÀ không khôi phục được bản cũ từ ") +
                         QFileInfo(backup).fileName() + QStringLiteral(": ") + error.description());
    }
}

void BundleSwap::carryOverModuleFiles(const QString& from, const QString& to) const {
    for (const QString& name : entriesOf(from)) {
        // Bundles are what is being replaced; anything the destination
        // already has wins. Each file moves by one rename, so a kill leaves
        // it on one side or the other, never lost.
        if (isBundleName(name) || FileTree::exists(to + QLatin1Char('/') + name))
            continue;
        try {
            FileTree::rename(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
        } catch (const FileError&) {
            // Lost with the backup, as it would be without this step.
        }
        CrashPoint::reach("swap.oneFileCarriedOver");
    }
}

} // namespace ovrel
