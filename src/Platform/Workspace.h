#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace ovrel {

// What the hub asks of the desktop: opening addresses, showing files, finding
// installed applications.
class Workspace {
public:
    virtual ~Workspace() = default;
    virtual bool openURL(const QUrl& url) = 0;
    // Shows the file selected in the file manager (or at least its folder).
    virtual void revealInFileViewer(const QString& path) = 0;
    // Where the application with this identifier is installed, if anywhere.
    virtual std::optional<QString> applicationPath(const QString& bundleIdentifier) = 0;
};

// The Linux desktop: xdg-open through Qt, the FileManager1 D-Bus interface,
// and desktop entries named after the identifier.
class DesktopWorkspace : public Workspace {
public:
    static DesktopWorkspace& shared();
    bool openURL(const QUrl& url) override;
    void revealInFileViewer(const QString& path) override;
    std::optional<QString> applicationPath(const QString& bundleIdentifier) override;
};

} // namespace ovrel
