#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>

namespace ovrel {

// User-visible notifications of the desktop. A notification is shown at once;
// a click on it is reported through `activated` with the identifier it was
// posted under. Main thread only.
class UserNotificationCenter : public QObject {
    Q_OBJECT
public:
    struct Request {
        QString identifier; // reported back on a click
        QString title;
        QString body;
    };

    using QObject::QObject;

    // The completion runs later on the main thread with whether notifications
    // can be shown at all.
    virtual void requestAuthorization(std::function<void(bool granted)> completion) = 0;
    // Posts the notification; failures are logged, not reported.
    virtual void add(const Request& request) = 0;

signals:
    // The user clicked the notification posted under `identifier`.
    void activated(const QString& identifier);
};

// org.freedesktop.Notifications on the session bus. Authorised means that a
// notification server answers; every notification carries the "default"
// action, which servers invoke on a click (ActionInvoked). Without a session
// bus nothing is authorised and nothing is shown.
class FreedesktopNotificationCenter : public UserNotificationCenter {
    Q_OBJECT
public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";
    static constexpr const char* kInterface = "org.freedesktop.Notifications";

    // appName is the "app_name" every notification is sent with.
    explicit FreedesktopNotificationCenter(QString appName, QObject* parent = nullptr);

    // One per process, named "Ovrel".
    static FreedesktopNotificationCenter& shared();

    void requestAuthorization(std::function<void(bool granted)> completion) override;
    void add(const Request& request) override;

private slots:
    void onActionInvoked(uint id, const QString& actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    QString m_appName;
    QHash<uint, QString> m_identifiers; // server id -> our identifier, until closed
};

} // namespace ovrel
