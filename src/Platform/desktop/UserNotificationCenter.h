#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>

namespace ovrel {

// Notifications shown to the user by the desktop. Main thread only.
class UserNotificationCenter {
public:
    struct Notification {
        QString identifier; // the caller's own name for it, handed back on a click
        QString title;
        QString body; // plain text
    };
    using Answer = std::function<void(bool granted)>;
    using Activation = std::function<void(const QString& identifier)>;

    virtual ~UserNotificationCenter() = default;

    // Whether notifications can be shown. The answer comes later on the main
    // thread, and only while context still exists.
    virtual void requestAuthorization(QObject* context, Answer answer) = 0;
    // Shows it at once; errors are ignored.
    virtual void add(const Notification& notification) = 0;
    // Called when the user clicks one of this process's notifications.
    virtual void setActivationHandler(Activation handler) = 0;
};

// org.freedesktop.Notifications on the session bus. Authorised means a
// notification server answers; a click arrives as ActionInvoked "default".
// Without a bus or a server nothing is shown.
class DBusUserNotificationCenter : public QObject, public UserNotificationCenter {
    Q_OBJECT
public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";
    static constexpr const char* kInterface = "org.freedesktop.Notifications";

    explicit DBusUserNotificationCenter(QString applicationName = QStringLiteral("Ovrel"),
                                        QObject* parent = nullptr);

    static DBusUserNotificationCenter& shared();

    void requestAuthorization(QObject* context, Answer answer) override;
    void add(const Notification& notification) override;
    void setActivationHandler(Activation handler) override { m_activation = std::move(handler); }

private slots:
    void onActionInvoked(uint id, const QString& actionKey);
    void onClosed(uint id, uint reason);

private:
    QString m_applicationName;
    Activation m_activation;
    QHash<uint, QString> m_shown; // server id -> identifier
};

} // namespace ovrel
