#include "OvrelHub/store/BundleSwap.h"

#include "OvrelHub/store/FileTree.h"
#include "OvrelHub/store/InstallError.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/system/SystemLog.h"

#include <QDir>
#include <QFileInfo>

namespace ovrel {

QString BundleSwap::backupDir(const ModulePaths& paths, const QString& id) {
    return paths.moduleDir(id) + QStringLiteral(".bak");
}

QString BundleSwap::swapIn(const QString& id, const QString& bundle) const {
    const QString moduleDir = m_paths.moduleDir(id);
    const QString backup = backupDir(m_paths, id);
    try {
        AtomicFile::makeDirectories(m_paths.modulesDir());
    } catch (const FileError&) {
        // The moves below report what matters.
    }
    recoverLeftOverBackup(id);

    const bool hadPrevious = FileTree::exists(moduleDir);
    if (hadPrevious) {
        try {
            FileTree::rename(moduleDir, backup);
        } catch (const FileError&) {
            throw InstallError::installFailed();
        }
    }

    const QString installed = moduleDir + QLatin1Char('/') + QFileInfo(bundle).fileName();
    try {
        AtomicFile::makeDirectories(moduleDir);
        m_moveBundle(bundle, installed);
    } catch (...) {
        rollBack(id, hadPrevious);
        throw InstallError::installFailed();
    }

    if (hadPrevious) {
        carryOverModuleFiles(id);
        if (m_replaced == Replaced::remove)
            FileTree::remove(backup);
    }
    return installed;
}

void BundleSwap::discardReplaced(const ModulePaths& paths, const QString& id) {
    if (FileTree::exists(paths.moduleDir(id)))
        FileTree::remove(backupDir(paths, id));
}

void BundleSwap::recoverLeftOverBackup(const QString& id) const {
    const QString moduleDir = m_paths.moduleDir(id);
    const QString backup = backupDir(m_paths, id);
    if (!FileTree::exists(backup))
        return;
    if (FileTree::exists(moduleDir)) {
        FileTree::remove(backup);
        return;
    }
    const QString name = QFileInfo(backup).fileName();
    SystemLog::write(QStringLiteral("Ovrel: module ") + id + QStringLiteral(" — thấy ") + name +
                     QStringLiteral(" sót lại mà bundle đích mất; khôi phục bản cũ trước khi cài"));
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

void BundleSwap::carryOverModuleFiles(const QString& id) const {
    const QString moduleDir = m_paths.moduleDir(id);
    const QString backup = backupDir(m_paths, id);
    const QStringList names = QDir(backup).entryList(QDir::AllEntries | QDir::Hidden |
                                                     QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        // Bundles are what is being replaced; anything the new directory
        // already has wins.
        if (name.endsWith(QStringLiteral(".app")) ||
            FileTree::exists(moduleDir + QLatin1Char('/') + name))
            continue;
        try {
            FileTree::rename(backup + QLatin1Char('/') + name, moduleDir + QLatin1Char('/') + name);
        } catch (const FileError&) {
            // Lost with the backup, as it would be without this step.
        }
    }
}

} // namespace ovrel
