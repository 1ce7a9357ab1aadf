#include "OvrelHub/update/WhatsNewWindowController.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelHub/settings/WindowPlacement.h"
#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "Platform/process/Workspace.h"

namespace ovrel {

WhatsNewWindowController::WhatsNewWindowController(Workspace& workspace,
                                                   std::function<QString()> apiBase,
                                                   QObject* parent)
    : QObject(parent), m_workspace(workspace), m_apiBase(std::move(apiBase)) {}

WhatsNewWindowController& WhatsNewWindowController::shared() {
    static auto* controller = new WhatsNewWindowController(
        DesktopWorkspace::shared(), [] { return HubSettings::shared().apiBaseURL(); });
    return *controller;
}

std::optional<QUrl> WhatsNewWindowController::downloadURL(const QString& base,
                                                          const QString& product,
                                                          const QString& platform) {
    return ServiceEndpoints::downloadPage(base, product, platform);
}

void WhatsNewWindowController::show(const UpdateRelease& release) {
    if (m_window)
        m_window->close();
    auto* window = new WhatsNewView(WhatsNewContent::of(release, HubLanguage::current()));
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &WhatsNewView::laterRequested, window, &QWidget::close);
    connect(window, &WhatsNewView::downloadRequested, this, &WhatsNewWindowController::download);
    m_window = window;
    window->adjustSize();
    WindowPlacement::centreAndRaise(*window);
}

void WhatsNewWindowController::download() {
    if (const auto url =
            downloadURL(m_apiBase(), BuildIdentity::currentProduct(), BuildIdentity::platform()))
        m_workspace.openURL(*url);
    if (m_window)
        m_window->close();
}

} // namespace ovrel
