#pragma once

#include <QString>

namespace ovrel {

// A page of the store: the catalog grid or one entry's details.
struct StorePage {
    enum class Kind { grid, detail };
    Kind kind = Kind::grid;
    QString moduleId; // detail only

    static StorePage grid() { return {}; }
    static StorePage detail(QString id) { return {Kind::detail, std::move(id)}; }
    bool operator==(const StorePage&) const = default;
};

// Where the settings window shows: routes compare by case and payload.
struct SettingsRoute {
    enum class Kind { store, module, edition, general, permissions, account };
    Kind kind = Kind::general;
    StorePage storePage; // store only
    QString moduleId;    // module only

    static SettingsRoute store(StorePage page = StorePage::grid()) {
        return {Kind::store, std::move(page), {}};
    }
    static SettingsRoute module(QString id) { return {Kind::module, {}, std::move(id)}; }
    static SettingsRoute edition() { return {Kind::edition, {}, {}}; }
    static SettingsRoute general() { return {Kind::general, {}, {}}; }
    static SettingsRoute permissions() { return {Kind::permissions, {}, {}}; }
    static SettingsRoute account() { return {Kind::account, {}, {}}; }

    // A module route whose module is no longer installed shows the store grid;
    // the edition route without an edition page shows the general pane.
    template <class IsInstalled>
    SettingsRoute safe(IsInstalled&& isInstalled, bool hasEditionPage) const {
        if (kind == Kind::module && !isInstalled(moduleId))
            return store();
        if (kind == Kind::edition && !hasEditionPage)
            return general();
        return *this;
    }

    bool operator==(const SettingsRoute&) const = default;
};

} // namespace ovrel
