#include "OvrelHub/store/StoreEntryText.h"

namespace ovrel::StoreEntryText {

namespace {
QString fromManifest(const LocalizedText& text, AppLanguage language) {
    return text.text(AppLanguages::rawValue(language)).value_or(QString());
}
} // namespace

QString resolve(const CatalogTexts& texts, AppLanguage language) {
    for (const QString& code : {AppLanguages::rawValue(language), QStringLiteral("en"),
                                QStringLiteral("vi")}) {
        const QString text = texts.value(code);
        if (!text.isEmpty())
            return text;
    }
    return {};
}

QString name(const CatalogEntry& entry, const ModuleManifest* manifest, AppLanguage language) {
    const QString text =
        manifest ? fromManifest(manifest->name(), language) : resolve(entry.name, language);
    return text.isEmpty() ? entry.id : text;
}

QString summary(const CatalogEntry& entry, const ModuleManifest* manifest, AppLanguage language) {
    return manifest ? fromManifest(manifest->summary(), language)
                    : resolve(entry.summary, language);
}

QString description(const CatalogEntry& entry, const ModuleManifest* manifest,
                    AppLanguage language) {
    if (manifest && manifest->description())
        return fromManifest(*manifest->description(), language);
    return entry.description ? resolve(*entry.description, language) : QString();
}

} // namespace ovrel::StoreEntryText
