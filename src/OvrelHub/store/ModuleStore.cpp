#include "OvrelHub/store/ModuleStore.h"

#include "OvrelHub/modules/AppName.h"
#include "OvrelHub/resident/ResidentErrorText.h"
#include "OvrelHub/store/CatalogError.h"
#include "OvrelHub/store/CatalogInstall.h"
#include "OvrelHub/store/FileTree.h"
#include "OvrelHub/store/InstallError.h"
#include "OvrelHub/store/RunningInstanceTerminator.h"
#include "OvrelHub/store/StoreRecovery.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/system/CrashPoint.h"
#include "Platform/system/SystemLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUuid>

namespace ovrel {

ModuleStore::ModuleStore(Collaborators collaborators)
    : m_state(collaborators.state), m_workspace(collaborators.workspace),
      m_resident(collaborators.resident), m_downloader(collaborators.downloader),
      m_mainContext(collaborators.mainContext), m_installed(collaborators.state),
      m_completion({collaborators.state, collaborators.verifier, collaborators.resident,
                    std::move(collaborators.moveBundle), std::move(collaborators.macOSVersion),
                    BundleSwap::Replaced::keepForDiscard}),
      m_swap(collaborators.state.paths(), BundleMover::standard()),
      m_verifier(collaborators.verifier), m_settings(collaborators.state.paths()) {
    m_worker.setMaxThreadCount(1);
    m_worker.setExpiryTimeout(-1);
}

ModuleStore::~ModuleStore() {
    m_worker.waitForDone();
}

QFuture<std::optional<ModuleManifest>> ModuleStore::manifest(const QString& id) {
    return submit([this, id] { return m_installed.manifest(id); });
}

QFuture<QList<InstalledPair>> ModuleStore::installedManifests() {
    return submit([this] { return m_installed.installedManifests(); });
}

QFuture<void> ModuleStore::reconcileInstalled() {
    return submitExclusive([this] { m_installed.reconcileInstalled(); });
}

QFuture<void> ModuleStore::recoverInterruptedWork() {
    return submitExclusive([this] { StoreRecovery(m_state, m_verifier, m_swap).run(); });
}

namespace {

// Steps run on the worker reach the progress object on its own thread.
void report(const QPointer<InstallProgress>& progress, InstallProgress::Step step) {
    InstallProgress* target = progress.data();
    if (!target)
        return;
    QMetaObject::invokeMethod(
        target,
        [progress, step] {
            if (progress)
                progress->setStep(step);
        },
        Qt::QueuedConnection);
}

InstallProgress::Step progressStep(CatalogInstall::Step step) {
    switch (step) {
    case CatalogInstall::Step::checkingArchive:
        return InstallProgress::Step::verifying;
    case CatalogInstall::Step::unpacking:
        return InstallProgress::Step::unpacking;
    case CatalogInstall::Step::completing:
        break;
    }
    return InstallProgress::Step::installing;
}

} // namespace

QFuture<ModuleManifest> ModuleStore::install(const QString& id, const CatalogRelease& release,
                                             const QUrl& from, QPointer<InstallProgress> progress) {
    QObject* context = mainContext();
    ModuleDownloading* downloader = m_downloader;
    return submitExclusive([this, id] { return prepareCatalogInstall(id); })
        .then(context,
              [downloader, from, progress](const QString& workDirectory) {
                  if (!downloader)
                      throw InstallError::downloadFailed();
                  if (progress)
                      progress->setStep(InstallProgress::Step::downloading);
                  // The download is where other store operations may run.
                  return downloader->download(from, progress ? progress->transfer() : nullptr)
                      .then([workDirectory](QFuture<DownloadedArchive> done) {
                          try {
                              return std::pair(workDirectory, done.result());
                          } catch (const CatalogError& error) {
                              FileTree::remove(workDirectory);
                              // Signing in is what helps; the user is told so.
                              if (error.kind() == CatalogError::Kind::unauthorized)
                                  throw;
                          } catch (...) {
                              FileTree::remove(workDirectory);
                          }
                          throw InstallError::downloadFailed();
                      });
              })
        .unwrap()
        .then([this, id, release,
               progress](const std::pair<QString, DownloadedArchive>& downloaded) {
            return submitExclusive([this, id, release, downloaded, progress] {
                return CatalogInstall::finish(
                    release, downloaded.second, downloaded.first,
                    [&](const QString& bundle) {
                        return completeInstall(id, bundle, release.version);
                    },
                    [&](CatalogInstall::Step step) { report(progress, progressStep(step)); });
            });
        })
        .unwrap();
}

QString ModuleStore::prepareCatalogInstall(const QString& id) {
    if (!ModulePaths::isValidModuleId(id))
        throw InstallError::invalidId();
    unregisterReplacedAgent(id);
    return newWorkDirectory();
}

QObject* ModuleStore::mainContext() const {
    return m_mainContext ? m_mainContext : QCoreApplication::instance();
}

QFuture<ModuleManifest> ModuleStore::installLocal(const QString& id, const QString& bundlePath) {
    return submitExclusive([this, id, bundlePath] { return installLocalNow(id, bundlePath); });
}

QFuture<void> ModuleStore::uninstall(const QString& id, bool keepSettings) {
    return submitExclusive([this, id, keepSettings] { uninstallNow(id, keepSettings); });
}

QString ModuleStore::storeLockFile() const {
    return paths().root() + QStringLiteral("/.store.lock");
}

std::optional<FileLock> ModuleStore::lockAcrossProcesses() const {
    try {
        return FileLock::acquire(storeLockFile());
    } catch (const FileError& error) {
        SystemLog::write(QStringLiteral("Ovrel: không khoá được kho module giữa các tiến trình (") +
                         error.description() + QStringLiteral(") — vẫn tiếp tục"));
        return std::nullopt;
    }
}

ModuleManifest ModuleStore::completeInstall(const QString& id, const QString& bundle,
                                            const std::optional<QString>& version) {
    ModuleManifest manifest = m_completion.complete(id, bundle, version);
    // The replaced bundle leaves Modules/ in a task of its own, after the
    // install has returned, under the same lock as every change of the module
    // tree; the worker runs it before any operation submitted later. It is
    // then deleted off the worker, so nothing waits for that.
    m_worker.start([this, id] {
        const std::optional<FileLock> exclusive = lockAcrossProcesses();
        const QString aside = newWorkDirectory() + QStringLiteral(".discard");
        if (const std::optional<QString> doomed = m_swap.setAsideLeftOverBackup(id, aside))
            m_discard.remove(*doomed);
    });
    return manifest;
}

void ModuleStore::unregisterReplacedAgent(const QString& id) {
    if (!m_resident || !m_state.load().installed.contains(id))
        return;
    // The agent of the version being replaced stops before anything else.
    try {
        m_resident->unregisterModule(id);
    } catch (...) {
        // A later install or the resident reconciliation registers it again.
    }
}

void ModuleStore::reregisterReplacedAgent(const QString& id) {
    if (!m_resident)
        return;
    // The installed version stays: it runs in the background again if it should.
    const std::optional<ModuleManifest> manifest = m_installed.manifest(id);
    const ModulesState state = m_state.load();
    const auto entry = state.installed.find(id);
    if (!manifest || manifest->mode() != ModuleMode::resident || entry == state.installed.end() ||
        !entry->second.residentEnabled)
        return;
    try {
        m_resident->registerModule(id, paths().bundle(id, entry->second.appName));
    } catch (...) {
        SystemLog::write(QStringLiteral("Ovrel: cài module ") + id +
                         QStringLiteral(" lỗi và không đăng ký lại được agent chạy nền của bản "
                                        "đang cài: ") +
                         ResidentErrorText::current());
    }
}

QString ModuleStore::newWorkDirectory() const {
    const QString staging = paths().stagingDir();
    try {
        AtomicFile::makeDirectories(staging, 0700);
    } catch (const FileError&) {
        // Creating the work directory inside reports it.
    }
    return staging + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

ModuleManifest ModuleStore::installLocalNow(const QString& id, const QString& bundlePath) {
    if (!ModulePaths::isValidModuleId(id))
        throw InstallError::invalidId();
    unregisterReplacedAgent(id);
    try {
        return installLocalStaged(id, bundlePath);
    } catch (...) {
        reregisterReplacedAgent(id);
        throw;
    }
}

ModuleManifest ModuleStore::installLocalStaged(const QString& id, const QString& bundlePath) {
    const QString workDirectory = newWorkDirectory();
    const auto removeWorkDirectory = qScopeGuard([&] { FileTree::remove(workDirectory); });

    // The copy is taken from the bundle itself when the pick is a link to it,
    // and keeps the name that was picked.
    const QString name = QFileInfo(QDir::cleanPath(bundlePath)).fileName();
    const QString source = QFileInfo(bundlePath).canonicalFilePath();
    if (source.isEmpty() || !AppName::isValid(name))
        throw InstallError::installFailed();
    const QString destination = workDirectory + QLatin1Char('/') + name;
    try {
        AtomicFile::makeDirectories(workDirectory, 0700);
        FileTree::copy(source, destination);
    } catch (const FileError&) {
        throw InstallError::installFailed();
    }
    return completeInstall(id, destination, std::nullopt);
}

void ModuleStore::uninstallNow(const QString& id, bool keepSettings) {
    if (!ModulePaths::isValidModuleId(id))
        throw InstallError::invalidId();
    if (m_resident) {
        try {
            m_resident->unregisterModule(id);
        } catch (...) {
            // Nothing after the id check fails an uninstall.
        }
    }
    terminateRunningInstances(id);
    CrashPoint::reach("uninstall.instancesEnded");
    removeModuleDirectory(paths().moduleDir(id));
    CrashPoint::reach("uninstall.directoryRemoved");
    // A backup left by an interrupted install belongs to the module too.
    removeModuleDirectory(BundleSwap::backupDir(paths(), id));
    if (!keepSettings)
        m_settings.remove(id);
    CrashPoint::reach("uninstall.settingsRemoved");
    m_state.update([&](ModulesState& state) { state.installed.erase(id); });
}

void ModuleStore::removeModuleDirectory(const QString& directory) const {
    if (!FileTree::exists(directory))
        return;
    // Gone from Modules/ at once, so a kill never leaves half a bundle there;
    // recovery empties the staging area.
    QString doomed = newWorkDirectory();
    try {
        FileTree::rename(directory, doomed);
    } catch (const FileError&) {
        doomed = directory; // another file system: delete where it is
    }
    FileTree::remove(doomed);
}

void ModuleStore::terminateRunningInstances(const QString& id) {
    QObject* context = mainContext();
    if (!context)
        return;
    auto ended = std::make_shared<QPromise<void>>();
    QFuture<void> waited = ended->future();
    ended->start();
    QMetaObject::invokeMethod(
        context,
        [this, id, context, ended] {
            try {
                RunningInstanceTerminator::terminateRunningInstances(m_workspace, id)
                    .then(context, [ended] { ended->finish(); });
            } catch (...) {
                ended->finish();
            }
        },
        Qt::QueuedConnection);
    waited.waitForFinished();
}

} // namespace ovrel
