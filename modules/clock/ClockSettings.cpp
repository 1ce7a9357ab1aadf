#include "ClockSettings.h"

#include <algorithm>
#include <optional>

namespace ovrel::clock {

namespace {

std::optional<SettingValue> valueOf(const SettingsMap& values, const char* key) {
    const auto it = values.constFind(QLatin1String(key));
    return it == values.cend() ? std::nullopt : std::optional<SettingValue>(*it);
}

} // namespace

ClockSettings ClockSettings::from(const SettingsMap& values) {
    ClockSettings settings;
    if (const auto v = valueOf(values, "use24Hour"))
        settings.use24Hour = v->boolValue().value_or(settings.use24Hour);
    if (const auto v = valueOf(values, "style")) {
        const QString style = v->stringValue().value_or(QString());
        if (style == QLatin1String("timeAndDate"))
            settings.style = Style::timeAndDate;
        else if (style == QLatin1String("large"))
            settings.style = Style::large;
    }
    if (const auto v = valueOf(values, "refreshSeconds"))
        settings.refreshSeconds =
            static_cast<int>(std::clamp<qint64>(v->intValue().value_or(1), 1, 60));
    if (const auto v = valueOf(values, "timeZone"))
        settings.timeZone = v->stringValue().value_or(QString()).trimmed();
    return settings;
}

} // namespace ovrel::clock
