#include "OvrelHub/modules/AppName.h"

namespace ovrel {

namespace {
constexpr qsizetype kMaxNameBytes = 255; // NAME_MAX of common file systems
}

bool AppName::isValid(const QString& appName) {
    static const QString suffix = QStringLiteral(".app");
    if (appName.size() <= suffix.size() || !appName.endsWith(suffix))
        return false;
    if (appName.contains(QLatin1Char('/')) || appName.contains(QChar(u'\0')))
        return false;
    // A lone surrogate has no file-name bytes of its own.
    const QByteArray bytes = appName.toUtf8();
    return bytes.size() <= kMaxNameBytes && QString::fromUtf8(bytes) == appName;
}

} // namespace ovrel
