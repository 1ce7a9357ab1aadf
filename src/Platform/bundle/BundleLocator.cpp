#include "Platform/bundle/BundleLocator.h"

namespace ovrel {

BundleLocator moduleBundleLocator(const QString& modulesDirectory) {
    return [modulesDirectory](const QString& bundleIdentifier) -> QStringList {
        const QString prefix = QString::fromLatin1(kModuleBundleIdentifierPrefix);
        if (!bundleIdentifier.startsWith(prefix))
            return {};
        const QString id = bundleIdentifier.mid(prefix.size());
        // The id becomes a path component: nothing that could leave the folder
        // or name another module's backup ("clock.bak").
        if (id.isEmpty() || id.contains(QLatin1Char('.')) || id.contains(QLatin1Char('/')) ||
            id.contains(QChar(0)))
            return {};
        const QString moduleDirectory = modulesDirectory + QLatin1Char('/') + id;
        return {moduleDirectory, moduleDirectory + QStringLiteral(".bak")};
    };
}

} // namespace ovrel
