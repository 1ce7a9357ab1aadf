#pragma once

#include "OvrelHub/shell/EditionSettings.h"
#include "OvrelHub/update/UpdateRelease.h"
#include "Platform/StatusMenuModel.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

namespace ovrel {

class HubSettings;
class Workspace;

// Owns what the status menu is drawn from and the fixed parts of that menu.
// Lives on the main thread for the whole process.
class HubController : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kOpeningSeparatorId = "opening-separator";

    struct Collaborators {
        HubSettings& settings;
        Workspace& workspace;
    };

    HubController(EditionProvider edition, std::function<void()> onSessionStatusChanged,
                  std::function<void()> onMenuNeedsRebuild, Collaborators collaborators);

    // The menu that is open or was opened last.
    void menuWillOpen(QMenu* menu);
    QMenu* hostedMenu() const { return m_hostedMenu; }

    StatusMenuModel updateBannerItems() const;
    // Also records where dynamic module menus go (dynamicInsertAfter).
    StatusMenuModel platformMenuItems();
    const QString& dynamicInsertAfter() const { return m_dynamicInsertAfter; }

    const std::optional<UpdateRelease>& latestRelease() const { return m_latestRelease; }
    void setLatestRelease(const UpdateRelease& release) { m_latestRelease = release; }

    // Menu actions.
    void showWhatsNew();
    void openSettings();
    void openUserGuide();

    // Windows that other parts of the hub provide, installed as they come.
    void setWhatsNewPresenter(std::function<void(const UpdateRelease&)> present) {
        m_presentWhatsNew = std::move(present);
    }
    void setSettingsOpener(std::function<void(std::shared_ptr<EditionSettings>)> open) {
        m_openSettings = std::move(open);
    }

    const EditionProvider& edition() const { return m_edition; }
    const std::function<void()>& onSessionStatusChanged() const { return m_onSessionStatusChanged; }
    void requestMenuRebuild() const;

    void terminate() {}

private:
    std::function<void()> m_onMenuNeedsRebuild;
    EditionProvider m_edition;
    std::function<void()> m_onSessionStatusChanged;
    HubSettings& m_settings;
    Workspace& m_workspace;

    QString m_dynamicInsertAfter;
    QPointer<QMenu> m_hostedMenu;
    std::optional<UpdateRelease> m_latestRelease;

    std::function<void(const UpdateRelease&)> m_presentWhatsNew;
    std::function<void(std::shared_ptr<EditionSettings>)> m_openSettings;
};

} // namespace ovrel
