#pragma once

#include "OvrelHub/resident/ResidentAgentControlling.h"
#include "OvrelHub/resident/ResidentAgentFile.h"

#include <QStringList>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace ovrel {

class Workspace;

// Keeps resident modules running when there is no systemd user manager (a
// container, some desktops): the hub itself starts each loaded agent's program
// and, while the hub runs, starts it again after an unsuccessful exit, never
// sooner than the agent's throttle after the previous start. A clean exit
// (status 0) is not restarted. The agent files themselves stay as they are and
// are loaded again when the hub starts.
//
// An instance found already running when an agent is loaded (left by an
// earlier run of the hub) is watched instead of started twice; it is not a
// child of this process, so how it ended is unknown and it is started again.
//
// Every agent has one thread that waits for its process (woken by the kernel)
// and sleeps out the throttle. Thread-safe. Destroying the control stops
// watching but leaves the programs running, as quitting the hub does.
class FallbackResidentControl : public ResidentAgentControlling {
public:
    using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

    struct Options {
        Workspace* workspace = nullptr; // finds running instances; none: always start
        SteadyClock now = [] { return std::chrono::steady_clock::now(); };
        QStringList extraEnvironment;                      // "NAME=value" for the programs
        std::function<void(const QString& label)> started; // after each start, on its thread
    };

    FallbackResidentControl();
    explicit FallbackResidentControl(Options options);
    ~FallbackResidentControl() override;

    // Starts the agent's program (on its thread) and keeps it running. Throws
    // ResidentError::plistWriteFailed when the file is no usable agent.
    void bootstrap(const QString& plistPath, const QString& label) override;
    // Stops keeping the program running and ends it (SIGTERM, SIGKILL after
    // two seconds); returns once it has ended.
    void bootout(const QString& label) override;
    bool isLoaded(const QString& label) override;
    void loadAtStart(const QStringList& plistPaths) override;
    bool runsOnlyWithHub() const override { return true; }

    // The program's process while one runs (tests and the health view).
    std::optional<qint64> runningPid(const QString& label) const;

private:
    struct Agent;
    void supervise(const std::shared_ptr<Agent>& agent) const;
    void stop(const std::shared_ptr<Agent>& agent, bool endProgram);

    Options m_options;
    mutable std::mutex m_lock; // guards m_agents
    std::map<QString, std::shared_ptr<Agent>> m_agents;
};

} // namespace ovrel
