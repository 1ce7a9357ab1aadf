#include "OvrelHub/store/RunningInstanceTerminator.h"

#include "Platform/bundle/BundleLocator.h"
#include "Platform/system/SystemLog.h"

#include <algorithm>

namespace ovrel {

QFuture<void> RunningInstanceTerminator::terminateRunningInstances(Workspace& workspace,
                                                                   const QString& id) {
    RunningApplications instances =
        workspace.runningApplications(QLatin1String(kModuleBundleIdentifierPrefix) + id);
    if (instances.isEmpty()) {
        QPromise<void> done;
        done.start();
        done.finish();
        return done.future();
    }
    // Owns itself until it finishes.
    return (new RunningInstanceTerminator(id, std::move(instances)))->start();
}

RunningInstanceTerminator::RunningInstanceTerminator(QString id, RunningApplications instances)
    : m_id(std::move(id)), m_instances(std::move(instances)) {
    m_timer.setInterval(kPollInterval);
    connect(&m_timer, &QTimer::timeout, this, &RunningInstanceTerminator::look);
}

QFuture<void> RunningInstanceTerminator::start() {
    QFuture<void> future = m_promise.future();
    m_promise.start();
    SystemLog::write(QStringLiteral("Ovrel: gỡ module ") + m_id + QStringLiteral(" — ") +
                     QString::number(m_instances.size()) +
                     QStringLiteral(" tiến trình đang chạy, gửi terminate lịch sự"));
    for (const auto& instance : m_instances)
        instance->terminate();
    m_sinceRequests.start();
    look();
    if (!future.isFinished())
        m_timer.start();
    return future;
}

void RunningInstanceTerminator::look() {
    const bool allEnded =
        std::all_of(m_instances.cbegin(), m_instances.cend(),
                    [](const auto& instance) { return instance->isTerminated(); });
    if (allEnded)
        return finish();
    if (m_sinceRequests.elapsed() < kGracePeriod.count())
        return;
    for (const auto& instance : m_instances) {
        if (instance->isTerminated())
            continue;
        SystemLog::write(
            QStringLiteral("Ovrel: module ") + m_id +
            QStringLiteral(" không đóng sau terminate() lịch sự trong 2s — buộc đóng"));
        instance->forceTerminate();
    }
    finish();
}

void RunningInstanceTerminator::finish() {
    m_timer.stop();
    m_promise.finish();
    deleteLater();
}

} // namespace ovrel
