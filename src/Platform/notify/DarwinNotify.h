#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace ovrel {

// Payload-free notifications between processes of the user, by name. Carried
// as the D-Bus session-bus signal vn.ovrel.Notify.Posted(name) on the path
// /vn/ovrel/Notify; observers match on the first argument, so each process only
// wakes for names it asked for. Without a session bus posting does nothing and
// observing never fires: the shared files stay the truth.
class DarwinNotify {
public:
    static constexpr const char* kPath = "/vn/ovrel/Notify";
    static constexpr const char* kInterface = "vn.ovrel.Notify";
    static constexpr const char* kMember = "Posted";

    class Observation;
    // Ends the observation when destroyed.
    using Token = std::unique_ptr<Observation>;

    static void post(const QString& name);

    // The handler runs on the thread that called observe (it needs an event loop).
    static Token observe(const QString& name, std::function<void()> handler);

    // Returns once the bus daemon applies every observation this process made
    // so far: the rules travel ahead of one call the daemon answers. Until
    // then a post from another process may pass unseen.
    static void waitUntilObserving();
};

class DarwinNotify::Observation : public QObject {
    Q_OBJECT
public:
    Observation(QString name, std::function<void()> handler);
    ~Observation() override;
    bool isConnected() const { return m_connected; }

public slots:
    void onPosted(const QString& name);

private:
    QString m_name;
    std::function<void()> m_handler;
    bool m_connected = false;
};

} // namespace ovrel
