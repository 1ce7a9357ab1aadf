#include "OvrelHub/store/StoreModel.h"

#include "OvrelHub/store/StoreEntryText.h"

#include <QLocale>

namespace ovrel {

QList<CatalogEntry> StoreModel::mergedEntries(const QList<CatalogEntry>& catalog,
                                              const Installed& installed,
                                              const Manifests& manifests) {
    QList<CatalogEntry> merged = catalog;
    for (const auto& pair : installed) { // std::map: ascending ids
        // A named copy: clang does not let a lambda capture a structured binding.
        const QString& id = pair.first;
        const bool listed = std::any_of(catalog.begin(), catalog.end(),
                                        [&](const CatalogEntry& entry) { return entry.id == id; });
        if (listed)
            continue;
        CatalogEntry entry;
        entry.id = id;
        const auto manifest = manifests.find(id);
        if (manifest != manifests.end()) {
            entry.name = manifest->second.name().values();
            entry.summary = manifest->second.summary().values();
        }
        merged.append(entry);
    }
    return merged;
}

QList<CatalogEntry> StoreModel::filter(const QList<CatalogEntry>& entries, const QString& query,
                                       const Manifests& manifests, AppLanguage language) {
    const QString wanted = searchKey(query);
    if (wanted.isEmpty())
        return entries;
    QList<CatalogEntry> kept;
    for (const CatalogEntry& entry : entries) {
        const auto found = manifests.find(entry.id);
        const ModuleManifest* manifest = found == manifests.end() ? nullptr : &found->second;
        if (searchKey(StoreEntryText::name(entry, manifest, language)).contains(wanted) ||
            searchKey(StoreEntryText::summary(entry, manifest, language)).contains(wanted))
            kept.append(entry);
    }
    return kept;
}

QString StoreModel::searchKey(const QString& text) {
    QString plain = text;
    plain.replace(QChar(0x0111), QLatin1Char('d')).replace(QChar(0x0110), QLatin1Char('D'));
    plain = plain.normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(plain.size());
    for (const QChar c : std::as_const(plain)) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded.append(c);
    }
    static const QLocale vietnamese(QLocale::Vietnamese);
    return vietnamese.toLower(folded).trimmed();
}

CommandHotkeys
StoreModel::defaultHotkeyAssignment(const QString& moduleId, const QList<MenuEntry>& menu,
                                    CommandHotkeys current, const std::set<QString>& cleared,
                                    const ModuleHotkeyConflict::ModuleHotkeys& othersHotkeys,
                                    const std::vector<Hotkey>& reserved) {
    for (const MenuEntry& entry : menu) {
        if (current.count(entry.command) || cleared.count(entry.command))
            continue;
        const auto hotkey = ModuleHotkeyConflict::defaultHotkey(entry.hotkeyDefault);
        if (!hotkey)
            continue;
        ModuleHotkeyConflict::ModuleHotkeys everyone = othersHotkeys;
        everyone[moduleId] = current;
        if (!ModuleHotkeyConflict::isTaken(*hotkey, reserved, everyone, std::nullopt))
            current[entry.command] = *hotkey;
    }
    return current;
}

} // namespace ovrel
