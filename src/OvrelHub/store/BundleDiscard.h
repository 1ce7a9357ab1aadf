#pragma once

#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <mutex>

namespace ovrel {

// Deletes replaced bundles that were already renamed into the staging area,
// on a thread of its own: removing a large bundle takes a good part of an
// update's time and holds up neither the install's result nor the store's
// next operation. Nothing here needs the store's lock: the directories are
// out of Modules/ and named by this process alone; each is guarded by a
// StagingLock while this process removes it, so another process's recovery
// leaves it alone. A process that ends first leaves them to the recovery at
// the next start, which empties the staging area. Any thread.
class BundleDiscard {
public:
    BundleDiscard();
    // Waits for the removals in progress.
    ~BundleDiscard();
    BundleDiscard(const BundleDiscard&) = delete;
    BundleDiscard& operator=(const BundleDiscard&) = delete;

    void remove(const QString& directory);

    // Waits until every removal handed over is done.
    void waitForDone();

    // For a process about to end: the removals not yet done continue in a
    // detached child process of their own (its standard streams on
    // /dev/null), so the caller can exit without waiting for them. Returns
    // at once.
    void continueInBackgroundProcess();

private:
    std::mutex m_mutex;
    QStringList m_pending; // handed over, not yet removed
    QThreadPool m_thread;
};

} // namespace ovrel
