#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelModuleKit/permissions/PermissionKind.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace ovrel {

class Workspace;

// Opens where the user grants a permission. A Linux desktop has no privacy
// panel for any of the four kinds (screen capture is granted per request by
// the desktop portal, input devices and files by groups and file modes,
// assistive access is not gated), so each kind opens the page of the user
// guide that explains how to grant it on Linux:
// <service>[/<language>]/guide/permissions/<kind>.
class PermissionPaneOpener {
public:
    // Whether the address could be opened.
    using Opener = std::function<bool(const QString& address)>;

    // By default addresses are opened through the workspace (the browser).
    explicit PermissionPaneOpener(Workspace& workspace);

    static std::optional<QUrl> address(PermissionKind kind, AppLanguage language);

    bool open(PermissionKind kind, AppLanguage language) const;

    void setOpener(Opener opener) { m_opener = std::move(opener); }

private:
    Opener m_opener;
};

} // namespace ovrel
