#include "OvrelHub/menu/ModuleMenuBuilder.h"

#include <algorithm>

namespace ovrel {

QString localizedText(const LocalizedText& text, AppLanguage language) {
    return text.text(AppLanguages::rawValue(language)).value_or(QString());
}

QList<ModuleMenuItem> ModuleMenuBuilder::items(const QList<InstalledPair>& pairs,
                                               AppLanguage language,
                                               const std::optional<ModulePaths>& paths) {
    QList<const InstalledPair*> sorted;
    sorted.reserve(pairs.size());
    for (const InstalledPair& pair : pairs)
        sorted.append(&pair);
    std::stable_sort(
        sorted.begin(), sorted.end(),
        [](const InstalledPair* a, const InstalledPair* b) { return a->module.id < b->module.id; });

    QList<ModuleMenuItem> out;
    for (const InstalledPair* pair : sorted) {
        const InstalledModule& module = pair->module;
        std::optional<QString> iconPath;
        if (paths)
            iconPath = paths->bundle(module.id, module.appName);
        const QString moduleName = localizedText(pair->manifest.name(), language);
        for (const MenuEntry& entry : pair->manifest.menu()) {
            const auto hotkey = module.hotkeys.find(entry.command);
            out.append(ModuleMenuItem{
                module.id, moduleName, entry.command, localizedText(entry.label, language),
                hotkey == module.hotkeys.end() ? std::nullopt
                                               : std::optional<Hotkey>(hotkey->second),
                iconPath});
        }
    }
    return out;
}

} // namespace ovrel
