#include "OvrelHub/resident/ResidentSwitch.h"

#include "OvrelHub/resident/ResidentErrorText.h"
#include "Platform/system/SystemLog.h"

namespace ovrel {

ResidentSwitch::ResidentSwitch(ModuleStateStore& state, ResidentModuleService& service)
    : m_state(state), m_service(service) {}

void ResidentSwitch::set(const QString& id, bool on) {
    m_state.update([&](ModulesState& state) {
        if (const auto entry = state.installed.find(id); entry != state.installed.end())
            entry->second.residentEnabled = on;
    });
    try {
        std::optional<InstalledModule> entry;
        if (on) {
            const ModulesState state = m_state.load();
            if (const auto found = state.installed.find(id); found != state.installed.end())
                entry = found->second;
        }
        if (entry)
            m_service.registerModule(id, m_state.paths().bundle(id, entry->appName));
        else
            m_service.unregisterModule(id);
    } catch (...) {
        SystemLog::write(QStringLiteral("Ovrel: đổi công tắc chạy nền cho module ") + id +
                         QStringLiteral(" thất bại: ") + ResidentErrorText::current());
    }
}

} // namespace ovrel
