#include "OvrelHub/shell/HubController.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelConfig/Loc.h"
#include "OvrelHub/account/SessionLostNotifier.h"
#include "OvrelHub/menu/DynamicMenuSections.h"
#include "OvrelHub/menu/ModuleIcons.h"
#include "OvrelHub/menu/ModuleMenuBuilder.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/resident/ResidentAgentReconciliation.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "OvrelModuleKit/inbox/ModuleHostState.h"
#include "Platform/desktop/UrlSchemeHandler.h"
#include "Platform/files/FileError.h"
#include "Platform/process/Workspace.h"
#include "Platform/system/SystemLog.h"

#include <QApplication>
#include <QStyle>
#include <QTimer>
#include <QtConcurrent>

namespace ovrel {

HubController::HubController(EditionProvider edition, std::function<void()> onSessionStatusChanged,
                             std::function<void()> onMenuNeedsRebuild, Collaborators collaborators)
    : m_onMenuNeedsRebuild(std::move(onMenuNeedsRebuild)), m_edition(std::move(edition)),
      m_onSessionStatusChanged(std::move(onSessionStatusChanged)),
      m_settings(collaborators.settings), m_workspace(collaborators.workspace),
      m_paths(std::move(collaborators.paths)), m_stateStore(collaborators.stateStore),
      m_installedManifests(std::move(collaborators.installedManifests)),
      m_runnerSource(std::move(collaborators.runner)), m_resident(collaborators.resident),
      m_urlSchemeHandler(collaborators.urlSchemeHandler),
      m_backgroundWorkDelay(collaborators.backgroundWorkDelay) {
    HubSettings* settings = &m_settings;
    HubLanguage::setProvider([settings] { return settings->appLanguage(); });
    SessionLostNotifier::onStatusChanged() = m_onSessionStatusChanged;
}

void HubController::requestMenuRebuild() const {
    if (m_onMenuNeedsRebuild)
        m_onMenuNeedsRebuild();
}

void HubController::willFinishLaunching() {
    if (!m_urlSchemeHandler)
        return;
    QPointer<HubController> self(this);
    m_urlSchemeHandler->setUrlHandler([self](const QUrl& url) {
        if (self)
            self->handleGetURL(url);
    });
}

void HubController::handleGetURL(const QUrl& url) {
    // Only the address goes into the log: a query may carry a sign-in code.
    const QString shown = url.toString(QUrl::RemoveQuery | QUrl::RemoveFragment |
                                       QUrl::RemoveUserInfo | QUrl::FullyEncoded);
    if (url.host() == QLatin1String("auth")) {
        if (m_onSignInCallback) {
            m_onSignInCallback(url);
            return;
        }
        SystemLog::write(QStringLiteral("Ovrel: nhận callback đăng nhập ") + shown +
                         QStringLiteral(" nhưng chưa có dịch vụ đăng nhập — bỏ qua"));
        return;
    }
    SystemLog::write(QStringLiteral("Ovrel: nhận URL không xử lý: ") + shown);
}

void HubController::didFinishLaunching() {
    if (m_runnerSource)
        m_runner = m_runnerSource();
    connect(this, &HubController::backgroundLaunchWorkDue, this,
            &HubController::reconcileResidentAgents, Qt::SingleShotConnection);
    m_launchRefreshPending = true;
    refreshModuleMenu();
}

void HubController::refreshEnded() {
    if (!m_launchRefreshPending)
        return;
    m_launchRefreshPending = false;
    QTimer::singleShot(m_backgroundWorkDelay, this, [this] {
        if (!m_pendingResults.finishing())
            emit backgroundLaunchWorkDue();
    });
}

void HubController::reconcileResidentAgents() {
    if (!m_resident || !m_installedManifests)
        return;
    ResidentModuleService* resident = m_resident;
    // Through the pending results, so quitting waits for the agent tool
    // instead of tearing the application down under it.
    m_pendingResults.deliver(m_installedManifests(), [this, resident](
                                                         QFuture<QList<InstalledPair>> done) {
        if (done.isCanceled() || done.resultCount() == 0)
            return;
        const QList<InstalledPair> pairs = done.result();
        m_pendingResults.deliver(QtConcurrent::run([pairs, resident] {
                                     ResidentAgentReconciliation::run(pairs, *resident);
                                 }),
                                 [this](const QFuture<void>&) { emit residentAgentsReconciled(); });
    });
}

void HubController::publishHostState() {
    const QString language = AppLanguages::rawValue(m_settings.appLanguage());
    const QString base = m_settings.apiBaseURL();
    try {
        ModuleHostState::write(language, QUrl(base), m_paths);
    } catch (const std::exception& e) {
        const auto* fileError = dynamic_cast<const FileError*>(&e);
        SystemLog::write(QStringLiteral("Ovrel: không ghi được host.json: ") +
                         (fileError ? fileError->description() : QString::fromUtf8(e.what())));
    }
}

void HubController::refreshModuleMenu() {
    if (m_pendingResults.finishing())
        return;
    publishHostState();
    QSet<QString> quickAccess;
    if (m_stateStore) {
        const ModulesState state = m_stateStore->load();
        for (const auto& [id, module] : state.installed) {
            if (module.quickAccessEnabled)
                quickAccess.insert(id);
        }
    }
    m_model.quickAccessModuleIds = quickAccess;
    if (!m_installedManifests) {
        refreshEnded();
        return;
    }

    m_pendingResults.deliver(m_installedManifests(), [this](QFuture<QList<InstalledPair>> done) {
        if (done.isCanceled() || done.resultCount() == 0) {
            refreshEnded();
            return;
        }
        const QList<InstalledPair> pairs = done.result();
        const AppLanguage language = m_settings.appLanguage();
        const ModulePaths paths = m_paths;
        const IconDemand::Presentation presentation = iconPresentation();
        m_pendingResults.deliver(QtConcurrent::run([pairs, language, paths, presentation] {
                                     BuiltModel built;
                                     built.items = ModuleMenuBuilder::items(pairs, language, paths);
                                     built.images = ModuleIconImages::load(
                                         built.items,
                                         IconDemand::forMenu(built.items, presentation));
                                     return built;
                                 }),
                                 [this, pairs](QFuture<BuiltModel> model) {
                                     if (!model.isCanceled() && model.resultCount() > 0)
                                         applyModel(model.takeResult(), pairs);
                                     refreshEnded();
                                 });
    });
}

IconDemand::Presentation HubController::iconPresentation() const {
    IconDemand::Presentation presentation;
    presentation.grid = m_settings.menuPresentation() == MenuPresentation::grid;
    const auto grid = m_settings.menuGridLayout();
    presentation.layout = MenuGridLayout(grid.rows, grid.columns);
    presentation.quickAccessModuleIds = m_model.quickAccessModuleIds;
    presentation.menuIconSide = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    presentation.devicePixelRatio = qApp->devicePixelRatio();
    return presentation;
}

void HubController::applyModel(BuiltModel built, QList<InstalledPair> pairs) {
    m_model.items = std::move(built.items);
    m_model.icons = built.images.menuIcons();
    m_model.gridIcons = built.images.gridIcons();
    m_model.dynamicMenuSources = std::move(pairs);
    ++m_modelGeneration;
    requestMenuRebuild();
    emit moduleModelRefreshed();
}

void HubController::terminate() {
    m_pendingResults.finish();
}

void HubController::menuWillOpen(QMenu* menu) {
    m_hostedMenu = menu;
    if (!menu)
        return;
    QPointer<HubController> self(this);
    m_dynamicSections.refresh(*menu,
                              DynamicMenuSections::Inputs{m_model.dynamicMenuSources,
                                                          m_modelGeneration, HubLanguage::current(),
                                                          m_paths, m_dynamicInsertAfter},
                              m_workspace, [self](const ModuleCommandRef& ref) {
                                  if (self)
                                      self->runModuleCommand(ref);
                              });
}

StatusMenuModel HubController::dynamicMenuItems() {
    QPointer<HubController> self(this);
    return DynamicMenuSections::items(m_model.dynamicMenuSources, HubLanguage::current(), m_paths,
                                      m_workspace, [self](const ModuleCommandRef& ref) {
                                          if (self)
                                              self->runModuleCommand(ref);
                                      });
}

void HubController::closeHostedMenu() {
    if (m_hostedMenu)
        m_hostedMenu->close();
}

void HubController::runModuleCommand(const ModuleCommandRef& ref) {
    if (m_runner)
        m_runner->send(ref.command, ref.argument, ref.moduleId);
}

ModuleMenuPresenter HubController::presenter(AppLanguage language) {
    QPointer<HubController> self(this);
    return ModuleMenuPresenter(
        m_model, language,
        [self](const ModuleCommandRef& ref) {
            if (self)
                self->runModuleCommand(ref);
        },
        [self] {
            if (self)
                self->closeHostedMenu();
        });
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
    auto append = [&items](StatusMenuModel more) {
        items.insert(items.end(), std::make_move_iterator(more.begin()),
                     std::make_move_iterator(more.end()));
    };

    items.push_back(StatusMenuItem::separator(QString::fromLatin1(kOpeningSeparatorId)));
    m_dynamicInsertAfter = QString::fromLatin1(kOpeningSeparatorId);

    const ModuleMenuPresenter modules = presenter(language);
    StatusMenuModel quickAccess = modules.quickAccessItems();
    if (!quickAccess.empty()) {
        append(std::move(quickAccess));
        items.push_back(StatusMenuItem::separator(QStringLiteral("quick-access-separator")));
    }
    if (!m_model.items.isEmpty()) {
        const auto grid = m_settings.menuGridLayout();
        append(m_settings.menuPresentation() == MenuPresentation::list
                   ? modules.listItems(m_model.items)
                   : modules.gridItems(m_model.items, MenuGridLayout(grid.rows, grid.columns)));
        m_dynamicInsertAfter = items.back().id;
        items.push_back(StatusMenuItem::separator(QStringLiteral("modules-separator")));
    }

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
    const auto url = ServiceEndpoints::guidePage(HubLanguage::current());
    if (url && !m_workspace.openURL(*url))
        SystemLog::write(QStringLiteral("Ovrel: không mở được hướng dẫn sử dụng ") +
                         url->toString() + QStringLiteral(" (không có trình duyệt?)"));
}

} // namespace ovrel
