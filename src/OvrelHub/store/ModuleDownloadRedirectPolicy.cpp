#include "OvrelHub/store/ModuleDownloadRedirectPolicy.h"

namespace ovrel::ModuleDownloadRedirectPolicy {

bool shouldStripAuthorization(const QUrl& from, const QUrl& to) {
    if (from.host().isEmpty() || to.host().isEmpty())
        return true;
    if (from.host().toLower() != to.host().toLower())
        return true;
    const QString fromScheme = from.scheme().toLower();
    const QString toScheme = to.scheme().toLower();
    if (fromScheme.isEmpty() != toScheme.isEmpty() || fromScheme != toScheme)
        return true;
    // -1 when no port is written.
    return from.port() != to.port();
}

} // namespace ovrel::ModuleDownloadRedirectPolicy
