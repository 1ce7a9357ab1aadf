#pragma once

#include <QList>
#include <QString>
#include <memory>

namespace ovrel {

// One running process of an application bundle, as the workspace found or
// started it. The description is fixed when the handle is made; the actions
// act on that very process, never on a later one that reuses its number.
class RunningApplication {
public:
    RunningApplication(qint64 pid, QString bundleIdentifier, QString bundlePath,
                       QString executablePath)
        : m_pid(pid), m_bundleIdentifier(std::move(bundleIdentifier)),
          m_bundlePath(std::move(bundlePath)), m_executablePath(std::move(executablePath)) {}
    virtual ~RunningApplication() = default;
    RunningApplication(const RunningApplication&) = delete;
    RunningApplication& operator=(const RunningApplication&) = delete;

    qint64 pid() const { return m_pid; }
    const QString& bundleIdentifier() const { return m_bundleIdentifier; }
    // The bundle the executable was in when the process was found; after an
    // update swapped bundles it may no longer exist.
    const QString& bundlePath() const { return m_bundlePath; }
    const QString& executablePath() const { return m_executablePath; }

    // Each returns whether the request was sent; none waits for the process.
    // Brings the application forward (it decides what that means: typically
    // showing its window).
    virtual bool activate() = 0;
    // Asks the process to quit; it may clean up first, or refuse.
    virtual bool terminate() = 0;
    // Ends the process without asking.
    virtual bool forceTerminate() = 0;
    // True once the process has exited (a zombie waiting for its parent counts).
    virtual bool isTerminated() const = 0;

private:
    qint64 m_pid;
    QString m_bundleIdentifier;
    QString m_bundlePath;
    QString m_executablePath;
};

using RunningApplications = QList<std::shared_ptr<RunningApplication>>;

} // namespace ovrel
