#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <optional>

namespace ovrel {

// The seven interface languages. The case order is also the order in which a
// language picker lists them.
enum class AppLanguage { vi, en, zh, ja, ko, fr, es };

namespace AppLanguages {

const std::array<AppLanguage, 7>& allCases();

// The two-letter code that is stored in the preferences ("vi", "en", ...).
QString rawValue(AppLanguage language);

// Only the seven exact raw values parse; anything else yields no language.
std::optional<AppLanguage> fromRawValue(const QString& raw);

// The language's name in the language itself, as a picker shows it.
QString nativeName(AppLanguage language);

// The language of the current system locale (see the overload below).
AppLanguage systemDefault();

// The locale's language code when it is one of the seven, otherwise Vietnamese.
AppLanguage systemDefault(const QLocale& locale);

} // namespace AppLanguages

} // namespace ovrel
