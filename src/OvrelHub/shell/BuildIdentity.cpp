#include "OvrelHub/shell/BuildIdentity.h"

#include <QCoreApplication>

namespace ovrel {

QString BuildIdentity::product(const QString& bundleIdentifier) {
    return bundleIdentifier == QLatin1String(kLiteBundleIdentifier) ? QStringLiteral("lite")
                                                                    : QStringLiteral("app");
}

QString BuildIdentity::currentProduct() { return product(bundleIdentifier()); }

QString BuildIdentity::bundleIdentifier() { return QCoreApplication::organizationDomain(); }

QString BuildIdentity::shortVersion() {
    const QString v = QCoreApplication::applicationVersion();
    return v.isEmpty() ? QStringLiteral("0.0.0") : v;
}

} // namespace ovrel
