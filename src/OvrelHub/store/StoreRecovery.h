#pragma once

#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/signature/ModuleVerifying.h"
#include "OvrelHub/store/BundleSwap.h"

#include <QDateTime>

namespace ovrel {

// Brings Modules/, .staging/ and "modules-state.json" back to one consistent
// picture after a process was killed in the middle of an install, update or
// uninstall, before anything lists the installed modules. In order:
//  1. a pending install whose bundle reached Modules/<id>/ is recorded;
//  2. every Modules/<id>.bak is settled (BundleSwap::settleLeftOverBackup);
//  3. an entry whose bundle is gone while Modules/<id>/ holds exactly one
//     other bundle that verifies for the module adopts it (an update that
//     renamed its bundle was cut off before it was recorded);
//  4. an entry whose module directory is gone entirely is dropped (an
//     uninstall was cut off before it was recorded);
//  5. everything in .staging/ goes but what another process still uses
//     outside the store lock and guards with a StagingLock (a download);
//     other attempts do not run while the caller holds the store lock;
//  6. temporary files of atomic writes older than kStaleAfter go.
// Synchronous; the caller holds the store's cross-process lock. Borrows the
// state store and the verifier, which must outlive it. Never throws.
class StoreRecovery {
public:
    // A temporary file this old belongs to no write in progress.
    static constexpr qint64 kStaleAfterSeconds = 10 * 60;

    StoreRecovery(ModuleStateStore& state, const ModuleVerifying& verifier, const BundleSwap& swap)
        : m_state(state), m_verifier(verifier), m_swap(swap) {}

    void run(const QDateTime& now = QDateTime::currentDateTimeUtc()) const;

private:
    void recordPendingInstalls() const;
    void settleBackups() const;
    void adoptOrDropMissingBundles() const;
    std::optional<QString> adoptableBundle(const QString& id) const;
    void emptyStaging() const;
    void removeStaleTemporaryFiles(const QDateTime& now) const;

    const ModulePaths& paths() const { return m_state.paths(); }

    ModuleStateStore& m_state;
    const ModuleVerifying& m_verifier;
    const BundleSwap& m_swap;
};

} // namespace ovrel
