#pragma once

#include "OvrelConfig/CatalogRelease.h"
#include "OvrelHub/modules/InstalledModules.h"
#include "OvrelHub/modules/InstalledPair.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/modules/ResidentRegistering.h"
#include "OvrelHub/signature/ModuleVerifying.h"
#include "OvrelHub/store/BundleDiscard.h"
#include "OvrelHub/store/BundleMover.h"
#include "OvrelHub/store/CatalogInstall.h"
#include "OvrelHub/store/InstallCompletion.h"
#include "OvrelHub/store/InstallProgress.h"
#include "OvrelHub/store/ModuleDownloading.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "Platform/files/FileLock.h"
#include "Platform/process/Workspace.h"

#include <QFuture>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QPromise>
#include <QThreadPool>
#include <optional>
#include <type_traits>

namespace ovrel {

// Puts module bundles on disk and takes them off again, and answers which
// modules are installed. Every operation runs on the store's one worker
// thread, one at a time and in the order submitted, and is handed back as a
// QFuture: continue on the main thread with .then(context, ...). A failure
// arrives as the future's exception (InstallError for installs and
// uninstalls), never in the event loop.
//
// Every install ends in the same completion step (check, swap, record,
// register), run on the worker thread; an install path that first fetches a
// bundle stages it under .staging/<uuid>/ and completes the same way.
//
// Operations that change Modules/ or .staging/ (installs, uninstalls,
// reconciliation, recovery) run exclusively(): they hold an advisory file lock
// for their whole length, so a hub and a command line, or two command lines,
// never interleave them. Queries do not take it.
class ModuleStore {
public:
    struct Collaborators {
        ModuleStateStore& state;
        const ModuleVerifying& verifier;
        // Finds the running instances of a module that is uninstalled.
        Workspace& workspace;
        ResidentRegistering* resident = nullptr; // none: no agent is touched
        ModuleDownloading* downloader = nullptr; // none: catalog installs fail
        BundleMoving moveBundle = BundleMover::standard();
        SystemVersionSource macOSVersion = InstallCompletion::defaultSystemVersion();
        // An object of the main thread, where running instances are ended;
        // none means the application object.
        QObject* mainContext = nullptr;
    };

    explicit ModuleStore(Collaborators collaborators);
    // Waits for the operation in progress. An uninstall in progress needs the
    // main thread's event loop to finish: do not destroy the store from the
    // main thread while one runs.
    ~ModuleStore();
    ModuleStore(const ModuleStore&) = delete;
    ModuleStore& operator=(const ModuleStore&) = delete;

    const ModulePaths& paths() const { return m_state.paths(); }

    // Waits until every submitted operation and the clean-up that follows an
    // install (the replaced bundle's removal) are done: for a process that
    // ends after one install. Not from the main thread while an uninstall runs.
    void waitUntilIdle() {
        m_worker.waitForDone();
        m_discard.waitForDone();
    }

    // For a process that ends after its operations: waits for them, then
    // leaves the removal of replaced bundles still in progress to a detached
    // process (BundleDiscard), so ending does not wait for it.
    void finishBeforeExit() {
        m_worker.waitForDone();
        m_discard.continueInBackgroundProcess();
    }

    // The installed modules (see InstalledModules).
    QFuture<std::optional<ModuleManifest>> manifest(const QString& id);
    QFuture<QList<InstalledPair>> installedManifests();
    QFuture<void> reconcileInstalled();

    // Installs (or updates to) a catalog release: stops the replaced
    // version's agent, downloads the archive from `from` on the main thread
    // (other store operations may run meanwhile), then checks its digest,
    // unpacks it into a staging directory and completes the install. Fails
    // with InstallError (CatalogError::unauthorized when the service refused
    // the download for want of a signed-in user); staging material and the
    // archive are always removed. `progress`, when given, hears of each step
    // and may call the install off while it downloads.
    QFuture<ModuleManifest> install(const QString& id, const CatalogRelease& release,
                                    const QUrl& from, QPointer<InstallProgress> progress = {});

    // Repairs what a process killed in the middle of an install, update or
    // uninstall left behind (see StoreRecovery). Submitted before the first
    // listing, it runs before it.
    QFuture<void> recoverInterruptedWork();

    // The file every process locks around an operation that changes Modules/.
    QString storeLockFile() const;

    // Installs a signed bundle picked by the user: copies it into a staging
    // directory (the picked bundle stays where it is), then completes the
    // install recording the manifest's version. Fails with InstallError.
    QFuture<ModuleManifest> installLocal(const QString& id, const QString& bundlePath);

    // Stops the module's agent and running instances, deletes its directory,
    // its settings unless they are kept, and its state entry. Fails only with
    // InstallError::invalidId; every later step ignores its errors.
    QFuture<void> uninstall(const QString& id, bool keepSettings);

private:
    template <class Work> auto submit(Work work) -> QFuture<std::invoke_result_t<Work&>>;
    // submit(), holding the store's file lock while the work runs.
    template <class Work> auto submitExclusive(Work work) -> QFuture<std::invoke_result_t<Work&>>;
    std::optional<FileLock> lockAcrossProcesses() const;

    // Worker-thread steps.
    ModuleManifest completeInstall(const QString& id, const QString& bundle,
                                   const std::optional<QString>& version);
    void unregisterReplacedAgent(const QString& id);
    // After a failed install: the installed version's agent comes back.
    void reregisterReplacedAgent(const QString& id);
    QString newWorkDirectory() const;
    QString prepareCatalogInstall(const QString& id);
    QObject* mainContext() const;
    ModuleManifest installLocalNow(const QString& id, const QString& bundlePath);
    ModuleManifest installLocalStaged(const QString& id, const QString& bundlePath);
    void uninstallNow(const QString& id, bool keepSettings);
    // Takes the directory out of Modules/ in one rename, then deletes it.
    void removeModuleDirectory(const QString& directory) const;
    // Runs the termination on the main thread and waits for it to finish.
    void terminateRunningInstances(const QString& id);

    ModuleStateStore& m_state;
    Workspace& m_workspace;
    ResidentRegistering* m_resident;
    ModuleDownloading* m_downloader;
    QObject* m_mainContext;
    InstalledModules m_installed;
    InstallCompletion m_completion;
    BundleSwap m_swap; // for recovery; installs swap through the completion
    const ModuleVerifying& m_verifier;
    ModuleSettingsStore m_settings;
    // Declared before the worker, so it outlives the tasks that hand it work.
    BundleDiscard m_discard;
    QThreadPool m_worker;
};

template <class Work> auto ModuleStore::submit(Work work) -> QFuture<std::invoke_result_t<Work&>> {
    using Result = std::invoke_result_t<Work&>;
    auto promise = std::make_shared<QPromise<Result>>();
    QFuture<Result> future = promise->future();
    promise->start();
    m_worker.start([promise, work = std::move(work)]() mutable {
        try {
            if constexpr (std::is_void_v<Result>)
                work();
            else
                promise->addResult(work());
        } catch (...) {
            promise->setException(std::current_exception());
        }
        promise->finish();
    });
    return future;
}

template <class Work>
auto ModuleStore::submitExclusive(Work work) -> QFuture<std::invoke_result_t<Work&>> {
    return submit([this, work = std::move(work)]() mutable {
        const std::optional<FileLock> exclusive = lockAcrossProcesses();
        return work();
    });
}

} // namespace ovrel
