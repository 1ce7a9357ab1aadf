#include "OvrelHub/store/UnzipError.h"

#include "Platform/system/LogText.h"

namespace ovrel {

QString UnzipError::description() const {
    switch (m_kind) {
    case Kind::unsafeEntry:
        return QStringLiteral("unsafeEntry(") + LogText::quoted(m_name) + QLatin1Char(')');
    case Kind::escapingSymlink:
        return QStringLiteral("escapingSymlink(") + LogText::quoted(m_name) + QLatin1Char(')');
    case Kind::listFailed:
        return QStringLiteral("listFailed");
    case Kind::extractFailed:
        return QStringLiteral("extractFailed");
    case Kind::noAppBundle:
        return QStringLiteral("noAppBundle");
    case Kind::multipleAppBundles:
        return QStringLiteral("multipleAppBundles");
    case Kind::destinationNotEmpty:
        return QStringLiteral("destinationNotEmpty");
    }
    return {};
}

} // namespace ovrel
