#pragma once

#include "OvrelHub/update/UpdateRelease.h"
#include "OvrelHub/update/WhatsNewView.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <optional>

namespace ovrel {

class Workspace;

// Keeps at most one What's New window: showing a release replaces the open
// window. "Download" opens the service's download page for this edition
// (not the release's disk image) and closes the window; "Later" closes it.
// Main thread; the workspace is borrowed and must outlive the controller.
class WhatsNewWindowController : public QObject {
    Q_OBJECT
public:
    // apiBase gives the service base at the moment of the click.
    WhatsNewWindowController(Workspace& workspace, std::function<QString()> apiBase,
                             QObject* parent = nullptr);

    // Over the desktop and the hub's "apiBaseURL"; created on first use.
    static WhatsNewWindowController& shared();

    void show(const UpdateRelease& release);
    WhatsNewView* window() const { return m_window; }

    // base/download?product=&platform=&source=app after any query of the base.
    static std::optional<QUrl> downloadURL(const QString& base, const QString& product,
                                           const QString& platform);

private:
    void download();

    Workspace& m_workspace;
    std::function<QString()> m_apiBase;
    QPointer<WhatsNewView> m_window;
};

} // namespace ovrel
