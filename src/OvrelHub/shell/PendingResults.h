#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>

namespace ovrel {

// Results a main-thread object expects from work on other threads.
//
// Each result is delivered through a watcher owned by the owner, never
// through a continuation with a context object: such a continuation reads its
// context from the worker thread and may post to it while the main thread is
// destroying it or after the application object is gone. A watcher is
// detached from its future under the future's lock, so a result that arrives
// after the owner is gone is dropped safely.
//
// finish() is for quitting: it stops delivering and waits until every awaited
// future has finished, so no worker still runs while the process tears down
// what it uses. Main thread only.
class PendingResults {
public:
    explicit PendingResults(QObject* owner) : m_owner(owner) {}
    PendingResults(const PendingResults&) = delete;
    PendingResults& operator=(const PendingResults&) = delete;

    // Calls handler(future) on the main thread once the future has finished,
    // with a value, an exception or cancelled; not at all after finish().
    template <class T, class Handler> void deliver(const QFuture<T>& future, Handler handler);

    // Stops delivering and waits for every future handed to deliver(),
    // processing events meanwhile (work on the store's worker may need the
    // main thread to finish). Further futures are not delivered either.
    void finish();

    bool finishing() const { return m_finishing; }
    int outstanding() const { return m_outstanding; }

private:
    QObject* m_owner;
    int m_outstanding = 0;
    bool m_finishing = false;
};

template <class T, class Handler>
void PendingResults::deliver(const QFuture<T>& future, Handler handler) {
    auto* watcher = new QFutureWatcher<T>(m_owner);
    ++m_outstanding;
    QObject::connect(watcher, &QFutureWatcherBase::finished, m_owner,
                     [this, watcher, handler = std::move(handler)]() mutable {
                         --m_outstanding;
                         watcher->deleteLater();
                         if (!m_finishing)
                             handler(watcher->future());
                     });
    watcher->setFuture(future);
}

} // namespace ovrel
