#pragma once

#include "Platform/desktop/CommandLineOutcome.h"
#include "Platform/desktop/CommandLineProgress.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <optional>

class QDBusPendingCallWatcher;

namespace ovrel {

// The caller's end of SessionBusApplication's CommandLineWithProgress: hands
// a command line to the running instance without blocking, hears its
// progress reports (those addressed to this connection with this call's
// token) and learns the outcome once. Waits without a time limit: an install
// may take minutes. For a short-lived process that runs its event loop until
// the call is done. Main thread; one call per object.
class CommandLineCall : public QObject {
    Q_OBJECT
public:
    enum class Result {
        answered,   // the outcome is the instance's answer
        notRunning, // nobody owns the name: nothing was run
        failed,     // the call went out but no answer came back (see the error)
    };
    using Done = std::function<void(Result result, const CommandLineOutcome& outcome,
                                    const QString& error)>;

    explicit CommandLineCall(const QString& desktopId,
                             QDBusConnection bus = QDBusConnection::sessionBus(),
                             QObject* parent = nullptr);

    // `done` is called exactly once, later from the event loop, or at once
    // (notRunning) when no instance owns the name. `progress` hears the
    // reports that arrive before the answer.
    void start(const QStringList& arguments, const QString& workingDirectory,
               CommandLineProgressSink progress, Done done);

private slots:
    void receiveProgress(const QDBusMessage& message);

private:
    void answered(QDBusPendingCallWatcher* watcher);
    void finish(Result result, const CommandLineOutcome& outcome, const QString& error);

    QDBusConnection m_bus;
    std::optional<QString> m_busName;
    QString m_token;
    CommandLineProgressSink m_progress;
    Done m_done;
};

} // namespace ovrel
