#pragma once

#include "OvrelHub/resident/ResidentAgentControlling.h"

#include <functional>
#include <memory>
#include <mutex>

namespace ovrel {

// Chooses the real control the first time one is needed. Finding out whether
// the user's systemd manager can be used runs a program and waits for it; a
// hub without resident modules never needs to ask, and one with them asks
// when it first looks at them instead of before its menu appears.
// Thread-safe: the store's worker and the main thread may both be first.
class DeferredResidentControl : public ResidentAgentControlling {
public:
    using Factory = std::function<std::unique_ptr<ResidentAgentControlling>()>;

    explicit DeferredResidentControl(Factory choose);

    void bootstrap(const QString& plistPath, const QString& label) override;
    void bootout(const QString& label) override;
    bool isLoaded(const QString& label) override;
    // Nothing to load decides nothing.
    void loadAtStart(const QStringList& plistPaths) override;
    bool runsOnlyWithHub() const override;

    // Whether the choice has been made (tests and the start-up benchmark).
    bool hasChosen() const;

private:
    ResidentAgentControlling& chosen() const;

    Factory m_choose;
    // Held only while choosing: the chosen control is thread-safe itself and
    // is never replaced.
    mutable std::mutex m_lock;
    mutable std::unique_ptr<ResidentAgentControlling> m_control;
};

} // namespace ovrel
