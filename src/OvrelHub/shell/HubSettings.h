#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/Hotkey.h"
#include "Platform/notify/NotificationCenter.h"
#include "Platform/plist/UserDefaults.h"

#include <QString>
#include <functional>
#include <vector>

namespace ovrel {

enum class MenuPresentation { list, grid };

// The hub's own preferences over its user-defaults domain, with the defaults,
// clamps and change notifications every reader relies on.
class HubSettings {
public:
    static constexpr const char* kDebugLog = "debugLog";
    static constexpr const char* kAppLanguage = "appLanguage";
    static constexpr const char* kMenuPresentation = "menuPresentation";
    static constexpr const char* kMenuGridRows = "menuGridRows";
    static constexpr const char* kMenuGridColumns = "menuGridColumns";
    static constexpr const char* kApiBaseURL = "apiBaseURL";

    static constexpr const char* kLanguageChanged = "ovrelAppLanguageChanged";
    static constexpr const char* kMenuLayoutChanged = "vn.ovrel.menuLayoutChanged";

    static constexpr int kDefaultGridRows = 2;
    static constexpr int kDefaultGridColumns = 4;
    static constexpr int kMinGridRows = 1, kMaxGridRows = 4;
    static constexpr int kMinGridColumns = 2, kMaxGridColumns = 5;

    struct GridLayout {
        int rows = kDefaultGridRows;
        int columns = kDefaultGridColumns;
        bool operator==(const GridLayout&) const = default;
    };

    using SystemLanguage = std::function<AppLanguage()>;

    explicit HubSettings(
        UserDefaults& defaults, NotificationCenter& center = NotificationCenter::defaultCenter(),
        SystemLanguage systemLanguage = [] { return AppLanguages::systemDefault(); });

    // Over UserDefaults::standard() and the default notification centre.
    static HubSettings& shared();

    UserDefaults& defaults() const { return m_defaults; }

    // The combinations the edition keeps for itself (none in this edition);
    // the hub controller installs the edition's provider.
    static std::function<std::vector<Hotkey>()> reservedHotkeysProvider;

    bool debugLog() const;
    void setDebugLog(bool on);

    AppLanguage appLanguage() const;
    void setAppLanguage(AppLanguage language);

    MenuPresentation menuPresentation() const;
    void setMenuPresentation(MenuPresentation presentation);

    GridLayout menuGridLayout() const;
    void setMenuGridLayout(int rows, int columns);

    // The stored override, as stored (no validation: each reader applies its own rule).
    std::optional<QString> apiBaseURLOverride() const;
    // The override when present, else the built-in service base URL.
    QString apiBaseURL() const;

    // Writes several keys in one replacement; false (and one log line) when
    // the preferences file could not be written.
    static bool store(UserDefaults& defaults, const QVariantMap& values);

private:
    bool store(const QVariantMap& values) { return store(m_defaults, values); }

    UserDefaults& m_defaults;
    NotificationCenter& m_center;
    SystemLanguage m_systemLanguage;
};

} // namespace ovrel
