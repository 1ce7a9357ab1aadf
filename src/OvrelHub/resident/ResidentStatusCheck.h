#pragma once

#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/resident/CrashLoopDetector.h"
#include "OvrelHub/resident/ResidentModuleService.h"
#include "OvrelModuleKit/manifest/ModuleMode.h"

#include <QSet>
#include <functional>
#include <mutex>
#include <optional>

namespace ovrel {

// What the module pane shows about a module's background running.
struct ResidentStatus {
    bool residentEnabled = true;
    bool isRegistered = false;
    ResidentHealth health;
    std::optional<QString> text;
    // Wanted in the background but not registered, or in a crash loop; or
    // turned off while its agent is still loaded.
    bool unhealthy = false;
};

// Works out a module's resident status from its entry, its agent and the
// start-up log the module writes. A crash loop is logged once per episode:
// when it is first seen, and again only after a check found the module
// healthy in between. Any thread may call it; it blocks while the agent tool
// runs.
class ResidentStatusCheck {
public:
    using Clock = std::function<UnixTime::TimePoint()>;

    ResidentStatusCheck(
        ModuleStateStore& state, ResidentModuleService& service,
        Clock now = [] { return std::chrono::system_clock::now(); });

    ResidentStatus status(const QString& id, ModuleMode mode);

private:
    void noteLoop(const QString& id, const ResidentHealth& health);

    ModuleStateStore& m_state;
    ResidentModuleService& m_service;
    Clock m_now;
    std::mutex m_lock; // guards m_looping
    QSet<QString> m_looping;
};

} // namespace ovrel
