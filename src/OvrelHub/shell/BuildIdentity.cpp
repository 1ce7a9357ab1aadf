#include "OvrelHub/shell/BuildIdentity.h"

#include <QCoreApplication>

namespace ovrel {

QString BuildIdentity::product(const QString& bundleIdentifier) {
    return bundleIdentifier == QLatin1String(kLiteBundleIdentifier) ? QStringLiteral("lite")
                                                                    : QStringLiteral("app");
}

QString BuildIdentity::currentProduct() {
    return product(bundleIdentifier());
}

namespace {
QString& runningIdentifier() {
    static QString identifier;
    return identifier;
}
} // namespace

QString BuildIdentity::bundleIdentifier() {
    return runningIdentifier();
}

void BuildIdentity::setBundleIdentifier(const QString& identifier) {
    runningIdentifier() = identifier;
}

QString BuildIdentity::shortVersion() {
    const QString v = QCoreApplication::applicationVersion();
    return v.isEmpty() ? QStringLiteral("0.0.0") : v;
}

} // namespace ovrel
