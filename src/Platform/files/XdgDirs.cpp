#include "Platform/files/XdgDirs.h"

#include <QDir>

namespace ovrel::XdgDirs {

namespace {
// Relative values are invalid under the XDG base-directory rules and are ignored.
QString fromEnv(const char* name, const QString& fallbackBelowHome) {
    const QString value = qEnvironmentVariable(name);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(home() + QLatin1Char('/') + fallbackBelowHome);
}
} // namespace

QString home() {
    const QString value = qEnvironmentVariable("HOME");
    return value.isEmpty() ? QDir::homePath() : QDir::cleanPath(value);
}

QString configHome() {
    return fromEnv("XDG_CONFIG_HOME", QStringLiteral(".config"));
}
QString dataHome() {
    return fromEnv("XDG_DATA_HOME", QStringLiteral(".local/share"));
}
QString stateHome() {
    return fromEnv("XDG_STATE_HOME", QStringLiteral(".local/state"));
}

} // namespace ovrel::XdgDirs
