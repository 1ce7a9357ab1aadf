#include "OvrelModuleKit/text/LocalizedText.h"

#include "OvrelModuleKit/json/JsonFields.h"
#include "OvrelModuleKit/text/Graphemes.h"

namespace ovrel {

namespace {

constexpr std::size_t kVietnamese = 0;
constexpr std::size_t kEnglish = 1;

std::optional<std::size_t> indexOf(QStringView code) {
    const QStringList& codes = LocalizedText::supportedCodes();
    for (std::size_t i = 0; i < LocalizedText::kLanguageCount; ++i) {
        if (codes[static_cast<qsizetype>(i)] == code)
            return i;
    }
    return std::nullopt;
}

} // namespace

const QStringList& LocalizedText::supportedCodes() {
    static const QStringList codes{QStringLiteral("vi"), QStringLiteral("en"), QStringLiteral("zh"),
                                   QStringLiteral("ja"), QStringLiteral("ko"), QStringLiteral("fr"),
                                   QStringLiteral("es")};
    return codes;
}

LocalizedText::LocalizedText(const QMap<QString, QString>& values) {
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        set(it.key(), it.value());
}

LocalizedText LocalizedText::decode(const JsonValue& json) {
    if (!json.isObject())
        throw JsonDecodingError(JsonDecodingError::Kind::typeMismatch,
                                QStringLiteral("localized text: expected an object"));
    LocalizedText result;
    for (const auto& [code, value] : json.toObject())
        result.set(code, JsonFields::toString(value, code));
    return result;
}

void LocalizedText::set(const QString& code, const QString& text) {
    const std::optional<std::size_t> index = indexOf(code);
    if (!index || text.trimmed().isEmpty())
        return;
    m_texts[*index] = text;
}

QMap<QString, QString> LocalizedText::values() const {
    QMap<QString, QString> result;
    for (std::size_t i = 0; i < kLanguageCount; ++i) {
        if (!m_texts[i].isEmpty())
            result.insert(supportedCodes()[static_cast<qsizetype>(i)], m_texts[i]);
    }
    return result;
}

bool LocalizedText::isEmpty() const {
    for (const QString& t : m_texts) {
        if (!t.isEmpty())
            return false;
    }
    return true;
}

bool LocalizedText::hasRequiredLanguages() const {
    return !m_texts[kVietnamese].isEmpty() && !m_texts[kEnglish].isEmpty();
}

std::optional<QString> LocalizedText::text(const QString& languageCode) const {
    if (const std::optional<std::size_t> index = indexOf(languageCode)) {
        if (!m_texts[*index].isEmpty())
            return m_texts[*index];
    }
    for (const std::size_t fallback : {kEnglish, kVietnamese}) {
        if (!m_texts[fallback].isEmpty())
            return m_texts[fallback];
    }
    return std::nullopt;
}

bool LocalizedText::fitsWithin(qint64 limit) const {
    for (const QString& t : m_texts) {
        if (!Graphemes::atMost(t, limit))
            return false;
    }
    return true;
}

} // namespace ovrel
