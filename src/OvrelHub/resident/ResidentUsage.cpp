#include "OvrelHub/resident/ResidentUsage.h"

#include "OvrelHub/resident/ResidentAgentPlan.h"
#include "OvrelHub/resident/SystemdUserControl.h"
#include "Platform/process/Workspace.h"

namespace ovrel {

std::optional<ResidentUsage> ResidentUsage::read(Workspace& workspace, const QString& id) {
    const QString label = ResidentAgentPlan::label(id);
    const QString unit = SystemdUserControl::unitName(label);
    ResidentUsage total;
    for (const auto& application : workspace.runningApplications(label)) {
        const std::optional<ProcessUsage> usage = ProcessUsage::read(application->pid(), unit);
        if (!usage)
            continue;
        total.pids.append(application->pid());
        if (usage->fromUnitCgroup) {
            // The unit's group already counts every process in it.
            if (total.fromUnitCgroup)
                continue;
            total =
                ResidentUsage{{application->pid()}, usage->memoryBytes, usage->cpuSeconds, true};
            continue;
        }
        if (!total.fromUnitCgroup) {
            total.memoryBytes += usage->memoryBytes;
            total.cpuSeconds += usage->cpuSeconds;
        }
    }
    if (total.pids.isEmpty())
        return std::nullopt;
    return total;
}

QString ResidentUsage::summary() const {
    return QStringLiteral("%1 MB, CPU %2 s")
        .arg(double(memoryBytes) / 1e6, 0, 'f', 1)
        .arg(cpuSeconds, 0, 'f', 2);
}

} // namespace ovrel
