#pragma once

#include "Platform/process/Workspace.h"

#include <QElapsedTimer>
#include <QFuture>
#include <QObject>
#include <QPromise>
#include <QTimer>
#include <chrono>

namespace ovrel {

// Ends the running instances of a module before it is removed: a polite
// request first, then, for those still running after a grace period, a forced
// end. Lives on the main thread and waits through a timer, never by sleeping.
class RunningInstanceTerminator : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kGracePeriod{2000};
    static constexpr std::chrono::milliseconds kPollInterval{100};

    // Call on the main thread. The future finishes on it: at once when no
    // instance runs, as soon as all have ended, or right after the forced
    // requests once the grace period is over (without waiting for them).
    static QFuture<void> terminateRunningInstances(Workspace& workspace, const QString& id);

private:
    RunningInstanceTerminator(QString id, RunningApplications instances);
    QFuture<void> start();
    void look();
    void finish();

    QString m_id;
    RunningApplications m_instances;
    QPromise<void> m_promise;
    QTimer m_timer;
    QElapsedTimer m_sinceRequests;
};

} // namespace ovrel
