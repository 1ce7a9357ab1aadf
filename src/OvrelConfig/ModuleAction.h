#pragma once

#include <QString>

namespace ovrel {

// What the store can do with one catalog entry here and now.
class ModuleAction {
public:
    enum class Kind {
        update,         // installed version, latest version
        incompatible,   // the hub version the release needs
        incompatibleOS, // the system version the release needs
        install,
        upToDate,
        notAvailable,
    };

    static ModuleAction update(QString installedVersion, QString latestVersion) {
        return ModuleAction(Kind::update, std::move(installedVersion), std::move(latestVersion));
    }
    static ModuleAction incompatible(QString minHostVersion) {
        return ModuleAction(Kind::incompatible, std::move(minHostVersion));
    }
    static ModuleAction incompatibleOS(QString minSystemVersion) {
        return ModuleAction(Kind::incompatibleOS, std::move(minSystemVersion));
    }
    static ModuleAction install() { return ModuleAction(Kind::install); }
    static ModuleAction upToDate() { return ModuleAction(Kind::upToDate); }
    static ModuleAction notAvailable() { return ModuleAction(Kind::notAvailable); }

    Kind kind() const { return m_kind; }
    // update: the installed and the latest version.
    const QString& installedVersion() const { return m_first; }
    const QString& latestVersion() const { return m_second; }
    // incompatible, incompatibleOS: the version required.
    const QString& requiredVersion() const { return m_first; }

    // The case with its payload: update("1.0.0", "1.1.0"), install.
    QString description() const;

    bool operator==(const ModuleAction&) const = default;

private:
    explicit ModuleAction(Kind kind, QString first = {}, QString second = {})
        : m_kind(kind), m_first(std::move(first)), m_second(std::move(second)) {}

    Kind m_kind;
    QString m_first;
    QString m_second;
};

} // namespace ovrel
