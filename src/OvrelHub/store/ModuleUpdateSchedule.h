#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

namespace ovrel {

// Calls the module auto-update check once at start() and then every
// `interval` (a day), on the main thread. The hub's version checker, once it
// runs its own daily check, calls the same check from it and this schedule
// is no longer started. A check still busy when the next one comes simply
// overlaps it: installs are serialised by the store.
class ModuleUpdateSchedule : public QObject {
public:
    static constexpr std::chrono::milliseconds kDay{24 * 60 * 60 * 1000};

    explicit ModuleUpdateSchedule(std::function<void()> check,
                                  std::chrono::milliseconds interval = kDay,
                                  QObject* parent = nullptr);

    void start();
    void stop() { m_timer.stop(); }
    bool isActive() const { return m_timer.isActive(); }

private:
    std::function<void()> m_check;
    QTimer m_timer;
};

} // namespace ovrel
