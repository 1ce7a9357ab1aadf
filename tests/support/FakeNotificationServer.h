#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace ovrel::test {

// A notification server on the session bus: owns org.freedesktop.Notifications
// on a connection of its own (as a real server would be another process),
// records every notification and can play the user's click. Tests run under
// their own bus, so the name is free.
class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Shown {
        uint id = 0;
        QString appName;
        QString summary;
        QString body;
        QStringList actions;
    };

    FakeNotificationServer();
    ~FakeNotificationServer() override;

    // Whether the name could be taken.
    bool isRunning() const { return m_running; }
    const QList<Shown>& shown() const { return m_shown; }

    // The user clicked notification `id`: ActionInvoked "default", then closed.
    void click(uint id);

public slots:
    QStringList GetCapabilities();
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion);
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expireTimeout);
    void CloseNotification(uint id);

signals:
    void notified(); // after a notification was recorded

private:
    void emitSignal(const char* member, const QVariantList& arguments);

    QDBusConnection m_bus;
    bool m_running = false;
    uint m_nextId = 1;
    QList<Shown> m_shown;
};

} // namespace ovrel::test
