#pragma once

#include "Platform/process/RunningApplication.h"

#include <optional>

namespace ovrel {

// A running process held by a pidfd where the kernel gives one (Linux 5.3+):
// signals then reach exactly the process that was found, even if it ended and
// its number was given to another. Without a pidfd the process is named by its
// number and start time, checked before every signal.
//
// activate() calls org.freedesktop.Application.Activate with empty platform
// data on the session-bus name of the bundle identifier (ModuleBusName). The
// name's owner answers, which is the instance that started first when several
// run.
class LinuxRunningApplication : public RunningApplication {
public:
    enum class Hold {
        pidfdWhenAvailable,
        startTimeOnly, // what older kernels leave; selectable so it stays tested
    };

    // Takes hold of the process now running as pid if its start time is
    // startTime; otherwise (or without a start time: the process was already
    // gone) the handle reports it as terminated.
    LinuxRunningApplication(qint64 pid, std::optional<quint64> startTime, QString bundleIdentifier,
                            QString bundlePath, QString executablePath,
                            Hold hold = Hold::pidfdWhenAvailable);
    // For a process just started: its start time is read now.
    static std::shared_ptr<LinuxRunningApplication>
    attach(qint64 pid, QString bundleIdentifier, QString bundlePath, QString executablePath);
    ~LinuxRunningApplication() override;

    bool activate() override;
    bool terminate() override;
    bool forceTerminate() override;
    bool isTerminated() const override;

private:
    bool sendSignal(int signal);
    bool isSameProcessRunning() const;

    quint64 m_startTime;
    int m_pidfd = -1;
    bool m_gone = false;
};

} // namespace ovrel
