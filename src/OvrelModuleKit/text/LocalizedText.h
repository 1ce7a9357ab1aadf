#pragma once

#include "OvrelModuleKit/json/JsonValue.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace ovrel {

// A text in the interface languages, keyed by language code. Only supported
// codes with a non-blank text are kept (the text itself stays untrimmed); other
// entries are dropped silently.
class LocalizedText {
public:
    static constexpr std::size_t kLanguageCount = 7;

    // "vi", "en", "zh", "ja", "ko", "fr", "es", in this order.
    static const QStringList& supportedCodes();

    LocalizedText() = default;
    explicit LocalizedText(const QMap<QString, QString>& values);

    // A JSON object from language code to text; every value must be a string.
    // Throws JsonDecodingError.
    static LocalizedText decode(const JsonValue& json);

    QMap<QString, QString> values() const;
    bool isEmpty() const;

    // Vietnamese and English are both present.
    bool hasRequiredLanguages() const;

    // The text for `languageCode`, else the English one, else the Vietnamese one.
    std::optional<QString> text(const QString& languageCode) const;

    // Every text has at most `limit` user-perceived characters.
    bool fitsWithin(qint64 limit) const;

    bool operator==(const LocalizedText& other) const = default;

private:
    void set(const QString& code, const QString& text);
    // Indexed like supportedCodes(); an empty string means absent.
    std::array<QString, kLanguageCount> m_texts;
};

} // namespace ovrel
