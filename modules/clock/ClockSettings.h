#pragma once

#include "OvrelModuleKit/settings/SettingValue.h"

#include <QString>

namespace ovrel::clock {

// The clock's settings as its code uses them; the manifest declares them and
// the hub stores them.
struct ClockSettings {
    enum class Style { time, timeAndDate, large };

    bool use24Hour = true;
    Style style = Style::time;
    int refreshSeconds = 1;
    QString timeZone; // an IANA zone id; empty means this computer's zone

    // Values arrive reconciled with the manifest; anything missing keeps its default.
    static ClockSettings from(const SettingsMap& values);
};

} // namespace ovrel::clock
