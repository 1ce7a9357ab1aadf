#pragma once

#include "Platform/bundle/BundleLocator.h"
#include "Platform/process/RunningApplication.h"
#include "Platform/process/WorkspaceError.h"

#include <QSet>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace ovrel {

// Called once with either the started application or the reason it was not
// started.
using OpenApplicationCompletion =
    std::function<void(std::shared_ptr<RunningApplication>, std::optional<WorkspaceError>)>;

// What the hub asks of the desktop: opening addresses, showing files, finding
// installed applications, starting and finding running applications.
class Workspace {
public:
    virtual ~Workspace() = default;
    virtual bool openURL(const QUrl& url) = 0;
    // Shows the file selected in the file manager (or at least its folder).
    virtual void revealInFileViewer(const QString& path) = 0;
    // Where the application with this identifier is installed, if anywhere
    // (on Linux: its program, or its desktop entry when a launcher such as
    // flatpak hides the program).
    virtual std::optional<QString> applicationPath(const QString& bundleIdentifier) = 0;

    // The running instances of the application, the longest-running first.
    virtual RunningApplications runningApplications(const QString& bundleIdentifier) = 0;
    // Which of these identifiers have at least one running process, in one look
    // at the system (the status menu asks this for every module on each opening).
    virtual QSet<QString> runningBundleIdentifiers(const QStringList& bundleIdentifiers) = 0;
    // Starts the bundle's program and returns at once; the completion runs
    // later on the main thread. activate asks for the application to come to
    // the front.
    virtual void openApplication(const QString& bundlePath, bool activate,
                                 OpenApplicationCompletion completion) = 0;
};

// The Linux desktop: xdg-open through Qt, the FileManager1 D-Bus interface,
// desktop entries named after the identifier; applications are found through
// /proc and started detached.
//
// A process is a running instance of an application when it belongs to this
// user and its executable lies inside one of the directories the bundle
// locator gives for the identifier. The workspace knows no bundle locations
// itself: the hub installs moduleBundleLocator(<its Modules directory>).
class DesktopWorkspace : public Workspace {
public:
    explicit DesktopWorkspace(BundleLocator locator = {});
    static DesktopWorkspace& shared();

    // Without a locator no application is ever found running.
    void setBundleLocator(BundleLocator locator);

    bool openURL(const QUrl& url) override;
    void revealInFileViewer(const QString& path) override;
    std::optional<QString> applicationPath(const QString& bundleIdentifier) override;
    RunningApplications runningApplications(const QString& bundleIdentifier) override;
    QSet<QString> runningBundleIdentifiers(const QStringList& bundleIdentifiers) override;
    // The program is started detached (see DetachedLauncher); a desktop brings a
    // newly started program's window forward by itself, so activate needs no
    // further request here.
    void openApplication(const QString& bundlePath, bool activate,
                         OpenApplicationCompletion completion) override;

private:
    BundleLocator locator() const;

    mutable std::mutex m_lock; // guards m_locator
    BundleLocator m_locator;
};

} // namespace ovrel
