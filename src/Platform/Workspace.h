#pragma once

#include <QUrl>

namespace ovrel {

// What the hub asks of the desktop: opening addresses in the default browser.
class Workspace {
public:
    virtual ~Workspace() = default;
    virtual bool openURL(const QUrl& url) = 0;
};

// xdg-open through Qt.
class DesktopWorkspace : public Workspace {
public:
    static DesktopWorkspace& shared();
    bool openURL(const QUrl& url) override;
};

} // namespace ovrel
