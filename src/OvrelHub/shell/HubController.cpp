#include "OvrelHub/shell/HubController.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelConfig/Loc.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "Platform/Workspace.h"

#include <QApplication>

namespace ovrel {

HubController::HubController(EditionProvider edition, std::function<void()> onSessionStatusChanged,
                             std::function<void()> onMenuNeedsRebuild, Collaborators collaborators)
    : m_onMenuNeedsRebuild(std::move(onMenuNeedsRebuild)), m_edition(std::move(edition)),
      m_onSessionStatusChanged(std::move(onSessionStatusChanged)),
      m_settings(collaborators.settings), m_workspace(collaborators.workspace) {
    HubSettings* settings = &m_settings;
    HubLanguage::setProvider([settings] { return settings->appLanguage(); });
}

void HubController::menuWillOpen(QMenu* menu) {
    m_hostedMenu = menu;
}

void HubController::requestMenuRebuild() const {
    if (m_onMenuNeedsRebuild)
        m_onMenuNeedsRebuild();
}

StatusMenuModel HubController::updateBannerItems() const {
    if (!m_latestRelease)
        return {};
    const AppLanguage language = HubLanguage::current();
    StatusMenuItem banner;
    banner.id = QStringLiteral("update-banner");
    banner.title =
        Loc::format(LocKey::newVersionAvailableFormat, language, {m_latestRelease->version});
    QPointer<HubController> self(const_cast<HubController*>(this));
    banner.action = [self] {
        if (self)
            self->showWhatsNew();
    };
    return {banner, StatusMenuItem::separator(QStringLiteral("update-banner-separator"))};
}

StatusMenuModel HubController::platformMenuItems() {
    const AppLanguage language = HubLanguage::current();
    QPointer<HubController> self(this);
    StatusMenuModel items;

    items.push_back(StatusMenuItem::separator(QString::fromLatin1(kOpeningSeparatorId)));
    m_dynamicInsertAfter = QString::fromLatin1(kOpeningSeparatorId);

    StatusMenuItem settings;
    settings.id = QStringLiteral("settings");
    settings.title = Loc::t(LocKey::settingsEllipsis, language);
    settings.keyEquivalent = QStringLiteral(",");
    settings.action = [self] {
        if (self)
            self->openSettings();
    };
    items.push_back(settings);

    StatusMenuItem guide;
    guide.id = QStringLiteral("user-guide");
    guide.title = Loc::t(LocKey::userGuide, language);
    guide.symbol = QStringLiteral("book.closed");
    guide.action = [self] {
        if (self)
            self->openUserGuide();
    };
    items.push_back(guide);

    StatusMenuItem quit;
    quit.id = QStringLiteral("quit");
    quit.title = Loc::t(LocKey::quitOvrel, language);
    quit.keyEquivalent = QStringLiteral("q");
    quit.action = [] { QApplication::quit(); };
    items.push_back(quit);
    return items;
}

void HubController::showWhatsNew() {
    if (m_latestRelease && m_presentWhatsNew)
        m_presentWhatsNew(*m_latestRelease);
}

void HubController::openSettings() {
    if (m_openSettings)
        m_openSettings(m_edition ? m_edition() : nullptr);
}

void HubController::openUserGuide() {
    if (const auto url = ServiceEndpoints::guidePage(HubLanguage::current()))
        m_workspace.openURL(*url);
}

} // namespace ovrel
