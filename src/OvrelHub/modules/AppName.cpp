#include "OvrelHub/modules/AppName.h"

#include "Platform/bundle/BundleInfo.h"

namespace ovrel {

namespace {
constexpr qsizetype kMaxNameBytes = 255; // NAME_MAX of common file systems
}

bool AppName::isValid(const QString& appName) {
    static const QString suffix = QStringLiteral(".app");
    if (appName.size() <= suffix.size() || !appName.endsWith(suffix))
        return false;
    // The same rule as every other file name taken from a bundle: no "/", no
    // control characters (the launcher refuses them, so such a module could
    // be installed but never opened).
    if (!BundleInfo::isPlainFileName(appName))
        return false;
    // A lone surrogate has no file-name bytes of its own.
    const QByteArray bytes = appName.toUtf8();
    return bytes.size() <= kMaxNameBytes && QString::fromUtf8(bytes) == appName;
}

} // namespace ovrel
