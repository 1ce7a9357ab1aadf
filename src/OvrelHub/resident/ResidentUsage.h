#pragma once

#include "Platform/process/ProcessUsage.h"

#include <QList>
#include <QString>
#include <optional>

namespace ovrel {

class Workspace;

// The health a user can see for a module running in the background: memory
// and processor time of its running instances, read from its systemd unit's
// control group where systemd runs it, else from /proc.
struct ResidentUsage {
    QList<qint64> pids;
    quint64 memoryBytes = 0;
    double cpuSeconds = 0;
    bool fromUnitCgroup = false;

    // Nothing when no instance runs. One pass over /proc plus a few small
    // files per instance; any thread.
    static std::optional<ResidentUsage> read(Workspace& workspace, const QString& id);

    // "23.4 MB, CPU 1.25 s" for listings.
    QString summary() const;
};

} // namespace ovrel
