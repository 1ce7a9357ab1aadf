#pragma once

#include "OvrelHub/update/UpdateRelease.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace ovrel {

class UserDefaults;
class UserNotificationCenter;

// Announces each new hub version once, across restarts, with one desktop
// notification; a click on it opens What's New for the release announced (or,
// after a restart, for the release the hub knows). Notifications of other
// parts of the hub posted through the same centre are left alone. Main thread;
// the centre and the defaults are borrowed and must outlive the notifier.
class UpdateNotifier : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kIdentifierPrefix = "ovrel.update.";

    using ReleaseProvider = std::function<std::optional<UpdateRelease>()>;

    struct Collaborators {
        UserNotificationCenter& center;
        UserDefaults& defaults;
        QString runningVersion;
        std::function<void(const UpdateRelease&)> showWhatsNew;
    };

    explicit UpdateNotifier(Collaborators collaborators, QObject* parent = nullptr);

    // Over the desktop's notification server, the hub's defaults and the
    // What's New window; created on first use.
    static UpdateNotifier& shared();

    void notify(const UpdateRelease& release);

    // Where a click finds its release when none was announced in this run.
    void setLatestReleaseFallback(ReleaseProvider provider) { m_fallback = std::move(provider); }
    const std::optional<UpdateRelease>& pendingRelease() const { return m_pending; }

private:
    void post(const UpdateRelease& release);
    void onActivated(const QString& identifier);

    UserNotificationCenter& m_center;
    UserDefaults& m_defaults;
    QString m_runningVersion;
    std::function<void(const UpdateRelease&)> m_showWhatsNew;
    ReleaseProvider m_fallback = [] { return std::nullopt; };
    std::optional<UpdateRelease> m_pending;
};

} // namespace ovrel
