#include "Platform/Workspace.h"

#include <QDesktopServices>

namespace ovrel {

DesktopWorkspace& DesktopWorkspace::shared() {
    static DesktopWorkspace workspace;
    return workspace;
}

bool DesktopWorkspace::openURL(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace ovrel
