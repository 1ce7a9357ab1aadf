#include "OvrelConfig/AppLanguage.h"

namespace ovrel::AppLanguages {

namespace {

struct LanguageInfo {
    const char* rawValue;
    const char* nativeName;
};

// Indexed by the enumeration's case order.
constexpr std::array<LanguageInfo, 7> kInfo{{
    {"vi", "Tiếng Việt"},
    {"en", "English"},
    {"zh", "中文"},
    {"ja", "日本語"},
    {"ko", "한국어"},
    {"fr", "Français"},
    {"es", "Español"},
}};

const LanguageInfo& info(AppLanguage language) {
    const auto index = static_cast<std::size_t>(language);
    // A value cast from outside the enumeration is treated as the fallback language.
    return index < kInfo.size() ? kInfo[index] : kInfo[0];
}

} // namespace

const std::array<AppLanguage, 7>& allCases() {
    static constexpr std::array<AppLanguage, 7> cases{
        AppLanguage::vi, AppLanguage::en, AppLanguage::zh, AppLanguage::ja,
        AppLanguage::ko, AppLanguage::fr, AppLanguage::es};
    return cases;
}

QString rawValue(AppLanguage language) {
    return QString::fromLatin1(info(language).rawValue);
}

std::optional<AppLanguage> fromRawValue(const QString& raw) {
    for (const AppLanguage language : allCases()) {
        if (raw == QLatin1String(info(language).rawValue))
            return language;
    }
    return std::nullopt;
}

QString nativeName(AppLanguage language) {
    return QString::fromUtf8(info(language).nativeName);
}

AppLanguage systemDefault() {
    return systemDefault(QLocale::system());
}

AppLanguage systemDefault(const QLocale& locale) {
    const QString code = QLocale::languageToCode(locale.language(), QLocale::ISO639Part1);
    return fromRawValue(code).value_or(AppLanguage::vi);
}

} // namespace ovrel::AppLanguages
