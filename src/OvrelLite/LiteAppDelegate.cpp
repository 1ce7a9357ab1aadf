#include "OvrelLite/LiteAppDelegate.h"

#include "OvrelHub/account/AccountServices.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/OtherBuildGuard.h"
#include "OvrelHub/shell/Trace.h"
#include "OvrelLite/OvrelLiteHubWiring.h"
#include "Platform/notify/NotificationCenter.h"
#include "Platform/process/Workspace.h"
#include "Platform/system/SystemLog.h"
#include "Platform/tray/QtMenuRenderer.h"
#include "Platform/tray/SymbolIcons.h"

#include <QCoreApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace ovrel {

namespace {
QPointer<LiteAppDelegate>& sharedDelegate() {
    static QPointer<LiteAppDelegate> delegate;
    return delegate;
}
} // namespace

LiteAppDelegate::LiteAppDelegate(HubController::Collaborators collaborators)
    : m_collaborators(std::move(collaborators)), m_settings(m_collaborators.settings),
      m_workspace(m_collaborators.workspace),
      m_otherBuildPresenter(OtherBuildAlert::messageBoxPresenter()),
      m_trayAvailable([] { return QSystemTrayIcon::isSystemTrayAvailable(); }) {
    sharedDelegate() = this;
}

LiteAppDelegate::~LiteAppDelegate() = default;

LiteAppDelegate* LiteAppDelegate::shared() {
    return sharedDelegate();
}

HubController& LiteAppDelegate::hub() {
    if (!m_hub) {
        QPointer<LiteAppDelegate> self(this);
        m_hub = OvrelLiteHubWiring::make(
            [self] {
                if (self)
                    self->rebuildMenu();
            },
            m_collaborators);
        m_windows = std::make_unique<LiteSettingsAndUpdates>(*m_hub, m_collaborators);
    }
    return *m_hub;
}

void LiteAppDelegate::applicationWillFinishLaunching() {
    hub().willFinishLaunching();
}

void LiteAppDelegate::writeLaunchTrace() {
    Trace::force(QStringLiteral("=== Ovrel (nền tảng) khởi động, pid=") +
                 QString::number(QCoreApplication::applicationPid()) + QStringLiteral(" ==="));
    Trace::force(QStringLiteral("version=") + BuildIdentity::shortVersion() +
                 QStringLiteral(" debugLog=") +
                 (m_settings.debugLog() ? QStringLiteral("true") : QStringLiteral("false")));
}

bool LiteAppDelegate::otherBuildAllowsStart() {
    Workspace& workspace = m_workspace;
    const auto decision = OtherBuildGuard::decideForRealSystem(
        QString::fromLatin1(BuildIdentity::kOtherBuildBundleIdentifier),
        [&workspace](const QString& id) { return workspace.applicationPath(id); },
        QCoreApplication::applicationFilePath());
    if (decision.kind == OtherBuildGuard::Decision::Kind::proceed)
        return true;
    OtherBuildAlert::show(decision.location, m_settings.appLanguage(), m_workspace,
                          m_otherBuildPresenter);
    return false;
}

void LiteAppDelegate::applicationDidFinishLaunching() {
    writeLaunchTrace();
    if (!otherBuildAllowsStart()) {
        QCoreApplication::exit(0);
        return;
    }
    m_windows->registerForUpdateNotifications();
    m_statusItem = std::make_unique<StatusItem>();
    rebuildMenu();
    resetStatusImage();
    m_statusItem->show();
    reportMissingTray();
    AccountServices::shared().checkSessionAtLaunch();
    // The first version check waits with the agents: the menu needs neither.
    connect(&hub(), &HubController::backgroundLaunchWorkDue, this,
            [this] { m_windows->startVersionChecker(); }, Qt::SingleShotConnection);
    hub().didFinishLaunching();
    observeNotifications();
    AccountServices::shared().startSync();
    m_settingsWatcher =
        std::make_unique<HubSettingsWatcher>(m_settings, NotificationCenter::defaultCenter());
}

void LiteAppDelegate::reportMissingTray() {
    if (m_trayAvailable())
        return;
    // The icon appears by itself once a tray host starts; until then the user
    // needs another way in.
    SystemLog::write(QStringLiteral(
        "Ovrel: không có khay hệ thống (StatusNotifierWatcher hoặc XEmbed) — biểu tượng sẽ hiện "
        "khi có khay; trong lúc chờ, xem menu bằng \"ovrel-lite --print-menu\" và mở module bằng "
        "\"ovrel-lite --send ID LỆNH\""));
}

void LiteAppDelegate::observeNotifications() {
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.observe(QString::fromLatin1(HubSettings::kLanguageChanged), this, [this] {
        rebuildMenu();
        hub().refreshModuleMenu();
    });
    center.observe(QString::fromLatin1(ovrelModulesChanged), this,
                   [this] { hub().refreshModuleMenu(); });
    center.observe(QString::fromLatin1(HubSettings::kMenuLayoutChanged), this, [this] {
        rebuildMenu();
        // Icons are made for the presentation in use: another one needs others.
        hub().refreshModuleMenu();
    });
}

void LiteAppDelegate::applicationWillTerminate() {
    hub().terminate();
    m_windows->terminate();
}

StatusMenuModel LiteAppDelegate::buildMenu() {
    StatusMenuModel model = hub().updateBannerItems();
    StatusMenuModel platform = hub().platformMenuItems();
    model.insert(model.end(), std::make_move_iterator(platform.begin()),
                 std::make_move_iterator(platform.end()));
    return model;
}

void LiteAppDelegate::rebuildMenu() {
    if (!m_statusItem)
        return;
    auto* menu = new QMenu();
    QtMenuRenderer::render(buildMenu(), *menu);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { menuWillOpen(menu); });
    m_statusItem->setMenu(menu);
}

void LiteAppDelegate::menuWillOpen(QMenu* menu) {
    hub().menuWillOpen(menu);
}

void LiteAppDelegate::resetStatusImage() {
    if (m_statusItem)
        m_statusItem->setImage(SymbolIcons::icon(QString::fromLatin1(kStatusSymbol)),
                               QStringLiteral("Ovrel"));
}

} // namespace ovrel
