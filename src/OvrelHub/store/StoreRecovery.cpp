#include "OvrelHub/store/StoreRecovery.h"

#include "OvrelHub/modules/AppName.h"
#include "OvrelHub/store/FileTree.h"
#include "OvrelHub/store/PendingInstall.h"
#include "OvrelHub/store/StagingLock.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "Platform/system/SystemLog.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace ovrel {

namespace {

const QString kBackupSuffix = QStringLiteral(".bak");

QStringList subdirectories(const QString& directory) {
    return QDir(directory).entryList(
        QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
}

} // namespace

void StoreRecovery::run(const QDateTime& now) const {
    recordPendingInstalls();
    settleBackups();
    adoptOrDropMissingBundles();
    emptyStaging();
    removeStaleTemporaryFiles(now);
}

void StoreRecovery::recordPendingInstalls() const {
    for (const PendingInstall& pending : PendingInstall::readAll(paths())) {
        // The bundle is in place only when the move finished: record it. Else
        // the backup (if any) is the installed version and step 2 restores it.
        if (BundleSwap::bundlesIn(paths().moduleDir(pending.id)).contains(pending.appName)) {
            SystemLog::write(QStringLiteral("Ovrel: module ") + pending.id +
                             QStringLiteral(" — lần cài trước bị ngắt sau khi bundle ") +
                             pending.appName +
                             QStringLiteral(" đã vào chỗ; ghi nốt vào modules-state.json"));
            m_state.update([&](ModulesState& state) { pending.applyTo(state); });
        }
        PendingInstall::remove(paths(), pending.id);
    }
}

void StoreRecovery::settleBackups() const {
    for (const QString& name : subdirectories(paths().modulesDir())) {
        if (!name.endsWith(kBackupSuffix))
            continue;
        const QString id = name.chopped(kBackupSuffix.size());
        if (ModulePaths::isValidModuleId(id))
            m_swap.settleLeftOverBackup(id);
    }
}

void StoreRecovery::adoptOrDropMissingBundles() const {
    const ModulesState state = m_state.load();
    std::map<QString, QString> adopted; // id -> bundle name
    QStringList dropped;
    for (const auto& [id, entry] : state.installed) {
        if (!ModulePaths::isValidModuleId(id) || !AppName::isValid(entry.appName) ||
            QFileInfo::exists(paths().bundle(id, entry.appName)))
            continue;
        if (!FileTree::exists(paths().moduleDir(id))) {
            SystemLog::write(QStringLiteral("Ovrel: module ") + id +
                             QStringLiteral(" — lần gỡ trước bị ngắt sau khi xoá thư mục; bỏ khỏi "
                                            "trạng thái đã cài (giữ nguyên ModuleSettings)"));
            dropped.append(id);
        } else if (const std::optional<QString> bundle = adoptableBundle(id)) {
            SystemLog::write(QStringLiteral("Ovrel: module ") + id +
                             QStringLiteral(" — state ghi ") + entry.appName +
                             QStringLiteral(" nhưng thư mục chỉ có ") + *bundle +
                             QStringLiteral(" đã ký hợp lệ; nhận bundle này"));
            adopted.emplace(id, *bundle);
        }
    }
    if (adopted.empty() && dropped.isEmpty())
        return;
    m_state.update([&](ModulesState& current) {
        for (const QString& id : dropped)
            current.installed.erase(id);
        for (const auto& [id, bundle] : adopted) {
            const auto entry = current.installed.find(id);
            const std::optional<QByteArray> data =
                ModuleManifest::readData(paths().bundle(id, bundle));
            if (entry == current.installed.end() || !data)
                continue;
            try {
                const ModuleManifest manifest = ModuleManifest::load(*data, id);
                entry->second.appName = bundle;
                entry->second.version = manifest.version();
            } catch (const ManifestError&) {
                // Checked a moment ago; a bundle changing under us stays as it is.
            }
        }
    });
}

std::optional<QString> StoreRecovery::adoptableBundle(const QString& id) const {
    const QStringList bundles = BundleSwap::bundlesIn(paths().moduleDir(id));
    if (bundles.size() != 1)
        return std::nullopt;
    const QString bundle = paths().bundle(id, bundles.front());
    try {
        m_verifier.verify(bundle, id);
        const std::optional<QByteArray> data = ModuleManifest::readData(bundle);
        if (!data)
            return std::nullopt;
        ModuleManifest::load(*data, id);
    } catch (...) {
        return std::nullopt;
    }
    return bundles.front();
}

void StoreRecovery::emptyStaging() const {
    const QString staging = paths().stagingDir();
    const QStringList names = QDir(staging).entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
    // An entry and its lock file are one; a lock file left alone is an entry
    // already gone.
    QSet<QString> entries;
    for (const QString& name : names)
        entries.insert(StagingLock::entryOfLockFile(name).value_or(name));
    for (const QString& name : entries) {
        const QString entry = staging + QLatin1Char('/') + name;
        // Another process still works on it (a download in progress).
        const std::optional<StagingLock> unused = StagingLock::tryAcquire(entry);
        if (!unused)
            continue;
        FileTree::remove(entry);
    }
}

void StoreRecovery::removeStaleTemporaryFiles(const QDateTime& now) const {
    // AtomicFile's temporary files: "." + the target's name + ".tmp-" + six characters.
    static const QRegularExpression temporary(QStringLiteral("^\\..+\\.tmp-[A-Za-z0-9]{6}$"));
    QStringList directories{paths().root(), paths().settingsDir(), paths().secretsDir()};
    for (const QString& name : subdirectories(paths().modulesDir())) {
        if (ModulePaths::isValidModuleId(name))
            directories.append(paths().moduleDir(name));
    }
    for (const QString& directory : directories) {
        const QFileInfoList files = QDir(directory).entryInfoList(QDir::Files | QDir::Hidden);
        for (const QFileInfo& file : files) {
            if (file.isSymLink() || !temporary.match(file.fileName()).hasMatch() ||
                file.lastModified().secsTo(now) < kStaleAfterSeconds)
                continue;
            QFile::remove(file.absoluteFilePath());
        }
    }
}

} // namespace ovrel
