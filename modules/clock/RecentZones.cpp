#include "RecentZones.h"

#include "ClockFormat.h"

namespace ovrel::clock {

namespace {

const QString kKey = QStringLiteral("recentZones");

QStringList cleaned(const QStringList& zones) {
    QStringList result;
    for (const QString& zone : zones) {
        const bool usable = zone.isEmpty() || ClockFormat::isKnownZone(zone);
        if (usable && !result.contains(zone) && result.size() < RecentZones::kMaxZones)
            result.append(zone);
    }
    return result;
}

} // namespace

QStringList RecentZones::list() const {
    const std::optional<QStringList> stored = m_state.stringArray(kKey);
    if (stored)
        return cleaned(*stored);
    return cleaned({QString(), "UTC", "Asia/Tokyo", "Europe/Paris", "America/New_York"});
}

void RecentZones::promote(const QString& zone) {
    QStringList zones = list();
    zones.removeAll(zone);
    zones.prepend(zone);
    m_state.setStringArray(cleaned(zones), kKey);
}

} // namespace ovrel::clock
