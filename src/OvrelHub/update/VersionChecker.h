#pragma once

#include "OvrelHub/shell/ServiceRequest.h"
#include "OvrelHub/update/CheckResult.h"

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

namespace ovrel {

// Looks at the version feed for a release of the hub newer than the running
// one: once when started, then every 24 hours (no retry in between). Main
// thread only; results are delivered on the main thread, and never after the
// checker is gone. The network is borrowed and must outlive it.
class VersionChecker : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kInterval = std::chrono::hours(24);
    static constexpr std::chrono::milliseconds kTimeout = std::chrono::seconds(10);

    using FeedAddress = std::function<std::optional<QUrl>()>;

    struct Collaborators {
        ServiceNetwork& network;
        FeedAddress feedURL;    // read before every check
        QString runningVersion; // "0.0.0" when the program has none
        std::chrono::milliseconds interval = kInterval;
    };

    VersionChecker(std::function<void(const UpdateRelease&)> onUpdateAvailable,
                   Collaborators collaborators, QObject* parent = nullptr);
    ~VersionChecker() override;

    // The feed address of the hub: "updateFeedURL" or the built-in address,
    // with "product" and "platform" appended.
    static FeedAddress hubFeedAddress();

    // One check now, then one per interval; onEachCheck runs after each start
    // of a check (the hub runs the module auto-updater there).
    void start(std::function<void()> onEachCheck = {});
    bool isStarted() const { return m_timer.isActive(); }

    // Delivers exactly one result on the main thread (unless the checker is
    // destroyed first).
    void check(std::function<void(const CheckResult&)> completion);

private:
    void scheduledCheck();

    std::function<void(const UpdateRelease&)> m_onUpdateAvailable;
    ServiceNetwork& m_network;
    FeedAddress m_feedURL;
    QString m_runningVersion;
    std::function<void()> m_onEachCheck;
    QTimer m_timer;
    // Calls off the check in flight when the checker goes.
    TransferControl m_control;
    bool m_destroying = false;
};

} // namespace ovrel
