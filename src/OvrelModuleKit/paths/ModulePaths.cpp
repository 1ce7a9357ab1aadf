#include "OvrelModuleKit/paths/ModulePaths.h"

#include "Platform/files/XdgDirs.h"

#include <QDir>

namespace ovrel {

ModulePaths::ModulePaths(QString root) : m_root(QDir::cleanPath(root)) {}

const ModulePaths& ModulePaths::defaultPaths() {
    static const ModulePaths paths(defaultRoot());
    return paths;
}

QString ModulePaths::defaultRoot() {
    return XdgDirs::dataHome() + QStringLiteral("/Ovrel");
}

QString ModulePaths::under(const QString& relative) const {
    return m_root + QLatin1Char('/') + relative;
}

QString ModulePaths::modulesDir() const {
    return under(QStringLiteral("Modules"));
}
QString ModulePaths::settingsDir() const {
    return under(QStringLiteral("ModuleSettings"));
}
QString ModulePaths::stagingDir() const {
    return under(QStringLiteral(".staging"));
}
QString ModulePaths::secretsDir() const {
    return under(QStringLiteral("secrets"));
}
QString ModulePaths::hostFile() const {
    return under(QStringLiteral("host.json"));
}
QString ModulePaths::stateFile() const {
    return under(QStringLiteral("modules-state.json"));
}
QString ModulePaths::syncStateFile() const {
    return under(QStringLiteral("sync-state.json"));
}
QString ModulePaths::inputPassthroughFile() const {
    return under(QStringLiteral("input-passthrough.json"));
}

QString ModulePaths::moduleDir(const QString& id) const {
    return modulesDir() + QLatin1Char('/') + id;
}
QString ModulePaths::bundle(const QString& id, const QString& appName) const {
    return moduleDir(id) + QLatin1Char('/') + appName;
}
QString ModulePaths::inboxFile(const QString& id) const {
    return moduleDir(id) + QStringLiteral("/inbox.json");
}
QString ModulePaths::dynamicMenuFile(const QString& id) const {
    return moduleDir(id) + QStringLiteral("/menu.json");
}
QString ModulePaths::permissionsFile(const QString& id) const {
    return moduleDir(id) + QStringLiteral("/permissions.json");
}
QString ModulePaths::startupLogFile(const QString& id) const {
    return moduleDir(id) + QStringLiteral("/startups.json");
}
QString ModulePaths::settingsFile(const QString& id) const {
    return settingsDir() + QLatin1Char('/') + id + QStringLiteral(".json");
}
QString ModulePaths::secretFile(const QString& name) const {
    return secretsDir() + QLatin1Char('/') + name + QStringLiteral(".bin");
}

QString ModulePaths::manifestFile(const QString& bundle) {
    return QDir::cleanPath(bundle) + QStringLiteral("/Contents/Resources/manifest.json");
}

bool ModulePaths::isValidModuleId(const QString& id) {
    if (id.isEmpty() || id.size() > kMaxModuleIdLength)
        return false;
    for (const QChar c : id) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'-';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace ovrel
