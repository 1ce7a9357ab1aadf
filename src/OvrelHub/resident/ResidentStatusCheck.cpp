#include "OvrelHub/resident/ResidentStatusCheck.h"

#include "OvrelHub/resident/ResidentStatusText.h"
#include "OvrelModuleKit/launch/ModuleStartupLog.h"
#include "Platform/system/SystemLog.h"

namespace ovrel {

ResidentStatusCheck::ResidentStatusCheck(ModuleStateStore& state, ResidentModuleService& service,
                                         Clock now)
    : m_state(state), m_service(service), m_now(std::move(now)) {}

ResidentStatus ResidentStatusCheck::status(const QString& id, ModuleMode mode) {
    ResidentStatus status;
    const ModulesState state = m_state.load();
    if (const auto entry = state.installed.find(id); entry != state.installed.end())
        status.residentEnabled = entry->second.residentEnabled;
    status.isRegistered = m_service.isRegistered(id);
    const ModuleStartupLog log(m_state.paths(), id, ModuleStartupLog::kStandardMaxEntries);
    status.health = CrashLoopDetector::health(log.timestamps(), m_now());
    status.text = ResidentStatusText::text(mode, status.residentEnabled, status.isRegistered,
                                           status.health, m_service.control().runsOnlyWithHub());
    status.unhealthy = mode == ModuleMode::resident &&
                       (status.residentEnabled ? !status.isRegistered || status.health.isLooping()
                                               : status.isRegistered);
    if (mode == ModuleMode::resident)
        noteLoop(id, status.health);
    return status;
}

void ResidentStatusCheck::noteLoop(const QString& id, const ResidentHealth& health) {
    {
        const std::lock_guard guard(m_lock);
        if (!health.isLooping()) {
            m_looping.remove(id);
            return;
        }
        if (m_looping.contains(id))
            return;
        m_looping.insert(id);
    }
    SystemLog::write(QStringLiteral("Ovrel: module ") + id +
                     QStringLiteral(" đang khởi động lại liên tục — %1 lần trong 5 phút")
                         .arg(*health.loopingStarts));
}

} // namespace ovrel
