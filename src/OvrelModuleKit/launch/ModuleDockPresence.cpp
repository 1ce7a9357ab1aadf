#include "OvrelModuleKit/launch/ModuleDockPresence.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace ovrel {

namespace {

struct PresenceState {
    int count = 0;
    double releaseDelay = 0.5;
    ModuleDockPresence::Policy policy = ModuleDockPresence::Policy::accessory;
    ModuleDockPresence::PolicyHandler handler;
    QPointer<QTimer> pendingHide;
};

PresenceState& state() {
    static PresenceState instance;
    return instance;
}

void cancelPendingHide() {
    if (QTimer* timer = state().pendingHide) {
        timer->stop();
        timer->deleteLater();
    }
    state().pendingHide.clear();
}

} // namespace

void ModuleDockPresence::acquire() {
    cancelPendingHide();
    if (++state().count == 1)
        switchTo(Policy::regular);
}

void ModuleDockPresence::release() {
    PresenceState& s = state();
    s.count = std::max(s.count - 1, 0);
    if (s.count > 0)
        return;
    cancelPendingHide();
    if (!QCoreApplication::instance())
        return; // the process is ending: nothing is shown any more
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setSingleShot(true);
    const double delay = std::isfinite(s.releaseDelay) ? std::max(s.releaseDelay, 0.0) : 0.0;
    timer->setInterval(static_cast<int>(std::min(delay * 1000.0, 24.0 * 3600 * 1000)));
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        if (state().pendingHide == timer)
            state().pendingHide.clear();
        timer->deleteLater();
        if (state().count == 0)
            switchTo(Policy::accessory);
    });
    s.pendingHide = timer;
    timer->start();
}

void ModuleDockPresence::reset() {
    cancelPendingHide();
    state().count = 0;
}

double ModuleDockPresence::releaseDelay() {
    return state().releaseDelay;
}

void ModuleDockPresence::setReleaseDelay(double seconds) {
    state().releaseDelay = seconds;
}

int ModuleDockPresence::count() {
    return state().count;
}

ModuleDockPresence::Policy ModuleDockPresence::policy() {
    return state().policy;
}

bool ModuleDockPresence::hasPendingHide() {
    return !state().pendingHide.isNull();
}

void ModuleDockPresence::setPolicyHandler(PolicyHandler handler) {
    state().handler = std::move(handler);
}

void ModuleDockPresence::switchTo(Policy policy) {
    PresenceState& s = state();
    if (s.policy == policy)
        return;
    s.policy = policy;
    if (s.handler)
        s.handler(policy);
}

} // namespace ovrel
