#include "OvrelHub/settings/PermissionPaneOpener.h"

#include "OvrelHub/shell/ServiceEndpoints.h"
#include "Platform/process/Workspace.h"

namespace ovrel {

PermissionPaneOpener::PermissionPaneOpener(Workspace& workspace)
    : m_opener([&workspace](const QString& address) {
          const QUrl url(address, QUrl::StrictMode);
          return url.isValid() && !url.isRelative() && workspace.openURL(url);
      }) {}

std::optional<QUrl> PermissionPaneOpener::address(PermissionKind kind, AppLanguage language) {
    std::optional<QUrl> page = ServiceEndpoints::guidePage(language);
    if (!page)
        return std::nullopt;
    page->setPath(page->path() + QStringLiteral("/permissions/") + rawValue(kind));
    return page;
}

bool PermissionPaneOpener::open(PermissionKind kind, AppLanguage language) const {
    const std::optional<QUrl> url = address(kind, language);
    return url && m_opener(url->toString());
}

} // namespace ovrel
