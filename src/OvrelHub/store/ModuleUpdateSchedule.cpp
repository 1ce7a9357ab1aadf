#include "OvrelHub/store/ModuleUpdateSchedule.h"

namespace ovrel {

ModuleUpdateSchedule::ModuleUpdateSchedule(std::function<void()> check,
                                           std::chrono::milliseconds interval, QObject* parent)
    : QObject(parent), m_check(std::move(check)) {
    m_timer.setInterval(interval);
    // A day-long wait needs no precision; a coarse timer wakes the system less.
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_check(); });
}

void ModuleUpdateSchedule::start() {
    m_timer.start();
    m_check();
}

} // namespace ovrel
