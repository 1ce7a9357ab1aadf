#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace ovrel {

// How much memory and processor time a process uses: from its systemd unit's
// control group when it runs in one (the whole unit, children included),
// else from /proc for the process alone.
struct ProcessUsage {
    quint64 memoryBytes = 0; // cgroup memory.current, or the resident set size
    double cpuSeconds = 0;   // processor time used since the start
    bool fromUnitCgroup = false;

    // Nothing when the process is gone or its files cannot be read. unitName:
    // the systemd unit the process belongs to when systemd started it.
    static std::optional<ProcessUsage>
    read(qint64 pid, const QString& unitName, const QString& procRoot = QStringLiteral("/proc"),
         const QString& cgroupRoot = QStringLiteral("/sys/fs/cgroup"));
};

} // namespace ovrel
