#include "OvrelHub/shell/HubSettings.h"

#include "OvrelHub/shell/ServiceEndpoints.h"
#include "Platform/files/FileError.h"
#include "Platform/system/SystemLog.h"

#include <algorithm>

namespace ovrel {

namespace {
QString key(const char* k) {
    return QString::fromLatin1(k);
}
} // namespace

std::function<std::vector<Hotkey>()> HubSettings::reservedHotkeysProvider = [] {
    return std::vector<Hotkey>{};
};

HubSettings::HubSettings(UserDefaults& defaults, NotificationCenter& center,
                         SystemLanguage systemLanguage)
    : m_defaults(defaults), m_center(center), m_systemLanguage(std::move(systemLanguage)) {}

HubSettings& HubSettings::shared() {
    static HubSettings settings(UserDefaults::standard());
    return settings;
}

bool HubSettings::store(UserDefaults& defaults, const QVariantMap& values) {
    try {
        defaults.setValues(values);
        return true;
    } catch (const FileError& e) {
        SystemLog::write(QStringLiteral("Ovrel: không ghi được cài đặt ") +
                         values.keys().join(QStringLiteral(", ")) + QStringLiteral(": ") +
                         e.description());
        return false;
    }
}

bool HubSettings::debugLog() const {
    return m_defaults.boolValue(key(kDebugLog)).value_or(false);
}

void HubSettings::setDebugLog(bool on) {
    store({{key(kDebugLog), on}});
}

AppLanguage HubSettings::appLanguage() const {
    if (const auto raw = m_defaults.string(key(kAppLanguage))) {
        if (const auto language = AppLanguages::fromRawValue(*raw))
            return *language;
    }
    return m_systemLanguage();
}

void HubSettings::setAppLanguage(AppLanguage language) {
    if (store({{key(kAppLanguage), AppLanguages::rawValue(language)}}))
        m_center.post(key(kLanguageChanged));
}

MenuPresentation HubSettings::menuPresentation() const {
    const auto raw = m_defaults.string(key(kMenuPresentation));
    return raw && *raw == QLatin1String("list") ? MenuPresentation::list : MenuPresentation::grid;
}

void HubSettings::setMenuPresentation(MenuPresentation presentation) {
    const QString raw =
        presentation == MenuPresentation::list ? QStringLiteral("list") : QStringLiteral("grid");
    if (store({{key(kMenuPresentation), raw}}))
        m_center.post(key(kMenuLayoutChanged));
}

HubSettings::GridLayout HubSettings::menuGridLayout() const {
    const auto rows = m_defaults.integer(key(kMenuGridRows));
    const auto columns = m_defaults.integer(key(kMenuGridColumns));
    if (!rows || !columns)
        return GridLayout{};
    return GridLayout{
        static_cast<int>(std::clamp<qint64>(*rows, kMinGridRows, kMaxGridRows)),
        static_cast<int>(std::clamp<qint64>(*columns, kMinGridColumns, kMaxGridColumns))};
}

void HubSettings::setMenuGridLayout(int rows, int columns) {
    // Both keys in one write: a reader seeing only one falls back to the defaults.
    if (store({{key(kMenuGridRows), rows}, {key(kMenuGridColumns), columns}}))
        m_center.post(key(kMenuLayoutChanged));
}

std::optional<QString> HubSettings::apiBaseURLOverride() const {
    return m_defaults.string(key(kApiBaseURL));
}

QString HubSettings::apiBaseURL() const {
    return apiBaseURLOverride().value_or(ServiceEndpoints::builtInBase());
}

} // namespace ovrel
