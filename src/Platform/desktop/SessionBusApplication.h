#pragma once

#include "Platform/desktop/CommandLineOutcome.h"
#include "Platform/desktop/CommandLineProgress.h"
#include "Platform/desktop/UrlSchemeHandler.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QStringList>
#include <functional>
#include <optional>

namespace ovrel {

// The one running instance of an application in the user's session. It owns
// the well-known bus name made from its desktop id (ModuleBusName) and answers
// at the matching object path:
//   org.freedesktop.Application  Activate(a{sv}), Open(as, a{sv}),
//                                ActivateAction(s, av, a{sv}) (no actions: refused)
//   vn.ovrel.Hub                 CommandLine(as arguments, s workingDirectory)
//                                  -> (i status, s output, s errors)
//                                CommandLineWithProgress(as, s, s token) -> (i, s, s),
//                                  reporting on the way with the signal
//                                  CommandLineProgress(s token, s text, x done, x total)
//                                  sent to the caller alone (CommandLineProgressSender)
// A second start of the program finds the name taken and hands its URLs or
// its command line over with RunningInstance instead of running itself.
//
// Handlers run on the main thread. A command line is answered when its handler
// calls the reply it was given, so a long command never blocks the event
// loop; a handler that never replies leaves the caller waiting. Its progress
// sink is empty when the caller did not ask for progress, and reports made
// after the reply are dropped.
// Main thread only; lives as long as the application.
class SessionBusApplication : public QDBusVirtualObject, public UrlSchemeHandler {
    Q_OBJECT
public:
    static constexpr const char* kCommandLineInterface = "vn.ovrel.Hub";
    static constexpr const char* kCommandLineWithProgress = "CommandLineWithProgress";

    enum class Claim {
        owned,                 // this process is the instance
        heldByAnotherInstance, // another process already is
        unavailable,           // no session bus, or the bus refused the name
    };

    using Reply = std::function<void(const CommandLineOutcome&)>;
    using CommandLineHandler =
        std::function<void(const QStringList& arguments, const QString& workingDirectory,
                            Reply reply, CommandLineProgressSink progress)>;

    explicit SessionBusApplication(const QString& desktopId,
                                   QDBusConnection bus = QDBusConnection::sessionBus(),
                                   QObject* parent = nullptr);
    ~SessionBusApplication() override;

    // Exports the object, then asks for the name without queueing for it.
    Claim claim();
    const std::optional<QString>& busName() const { return m_busName; }

    void setActivateHandler(std::function<void()> handler) { m_onActivate = std::move(handler); }
    void setUrlHandler(Handler handler) override { m_onUrl = std::move(handler); }
    void setCommandLineHandler(CommandLineHandler handler) { m_onCommandLine = std::move(handler); }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    void handleApplicationCall(const QDBusMessage& message, const QDBusConnection& connection);
    void handleCommandLine(const QDBusMessage& message, const QDBusConnection& connection);

    QDBusConnection m_bus;
    std::optional<QString> m_busName;
    std::function<void()> m_onActivate;
    Handler m_onUrl;
    CommandLineHandler m_onCommandLine;
    bool m_exported = false;
    bool m_owned = false;
};

} // namespace ovrel
