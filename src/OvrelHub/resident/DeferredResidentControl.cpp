#include "OvrelHub/resident/DeferredResidentControl.h"

#include <QStringList>

namespace ovrel {

DeferredResidentControl::DeferredResidentControl(Factory choose) : m_choose(std::move(choose)) {}

ResidentAgentControlling& DeferredResidentControl::chosen() const {
    std::lock_guard lock(m_lock);
    if (!m_control)
        m_control = m_choose();
    return *m_control;
}

bool DeferredResidentControl::hasChosen() const {
    std::lock_guard lock(m_lock);
    return m_control != nullptr;
}

void DeferredResidentControl::bootstrap(const QString& plistPath, const QString& label) {
    chosen().bootstrap(plistPath, label);
}

void DeferredResidentControl::bootout(const QString& label) {
    chosen().bootout(label);
}

bool DeferredResidentControl::isLoaded(const QString& label) {
    return chosen().isLoaded(label);
}

void DeferredResidentControl::loadAtStart(const QStringList& plistPaths) {
    if (!plistPaths.isEmpty())
        chosen().loadAtStart(plistPaths);
}

bool DeferredResidentControl::runsOnlyWithHub() const {
    return chosen().runsOnlyWithHub();
}

} // namespace ovrel
