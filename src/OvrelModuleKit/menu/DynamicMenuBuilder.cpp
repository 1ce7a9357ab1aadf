#include "OvrelModuleKit/menu/DynamicMenuBuilder.h"

namespace ovrel::DynamicMenuBuilder {

namespace {

std::vector<DynamicMenuItem> keepAll(const std::vector<DynamicMenuItem>& items,
                                     const QSet<QString>& allowed) {
    std::vector<DynamicMenuItem> kept;
    for (const DynamicMenuItem& item : items) {
        if (std::optional<DynamicMenuItem> k = keep(item, allowed))
            kept.push_back(std::move(*k));
    }
    return kept;
}

} // namespace

std::optional<DynamicMenuItem> keep(const DynamicMenuItem& item, const QSet<QString>& allowed) {
    if (item.command && !allowed.contains(*item.command))
        return std::nullopt;
    DynamicMenuItem kept = item;
    kept.children = keepAll(item.children, allowed);
    return kept;
}

std::optional<DynamicMenuSection> section(const QString& moduleName,
                                          const std::vector<DynamicMenuItem>& items,
                                          const QStringList& declaredCommands, bool isRunning) {
    if (!isRunning)
        return std::nullopt;
    const QSet<QString> allowed(declaredCommands.cbegin(), declaredCommands.cend());
    std::vector<DynamicMenuItem> kept = keepAll(items, allowed);
    if (kept.empty())
        return std::nullopt;
    return DynamicMenuSection{moduleName, std::move(kept)};
}

} // namespace ovrel::DynamicMenuBuilder
