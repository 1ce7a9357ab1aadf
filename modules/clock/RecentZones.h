#pragma once

#include "OvrelModuleKit/launch/ModulePrivateState.h"

#include <QStringList>

namespace ovrel::clock {

// The zones the clock offers in the hub's menu, most recently shown first,
// kept in the module's private state. Starts with a few well-known zones.
class RecentZones {
public:
    static constexpr int kMaxZones = 5;

    explicit RecentZones(ModulePrivateState& state) : m_state(state) {}

    // At most kMaxZones known zones ("" is this computer's zone), no repeats.
    QStringList list() const;

    // Moves the zone to the front, adding it when new and dropping the oldest.
    void promote(const QString& zone);

private:
    ModulePrivateState& m_state;
};

} // namespace ovrel::clock
