#include "OvrelHub/settings/SettingsView.h"

#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelHub/settings/HubGeneralPane.h"
#include "OvrelHub/settings/ModulePane.h"
#include "OvrelHub/settings/PermissionsPane.h"
#include "OvrelHub/settings/SidebarRail.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/storepane/RemoteImageCache.h"
#include "OvrelHub/storepane/StoreOperations.h"
#include "OvrelHub/storepane/StorePane.h"
#include "OvrelHub/accountpane/AccountTab.h"
#include "OvrelHub/accountpane/AccountTabServices.h"
#include "OvrelHub/account/AuthService.h"
#include "Platform/notify/NotificationCenter.h"

#include <QHBoxLayout>
#include <QScrollArea>

namespace ovrel {

namespace {
constexpr int kPaneMargin = 20;

// A route whose services the wiring did not give shows an empty page.
QWidget* emptyPane(const char* name) {
    auto* pane = new QWidget();
    pane->setObjectName(QString::fromLatin1(name));
    return pane;
}
} // namespace

SettingsView::SettingsView(SettingsServices& services, std::shared_ptr<EditionSettings> edition,
                           SettingsRoute initialRoute, QWidget* parent)
    : QWidget(parent), m_services(services), m_edition(std::move(edition)),
      m_route(std::move(initialRoute)), m_lang(services.settings.appLanguage()) {
    setMinimumSize(350, 620);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_scroll = new QScrollArea();
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(m_scroll, 1);

    m_services.center.observe(QString::fromLatin1(ovrelModulesChanged), this, [this] { reload(); });
    m_services.center.observe(QString::fromLatin1(HubSettings::kLanguageChanged), this,
                              [this] { followLanguage(); });
    reload();
}

SettingsRoute SettingsView::safeRoute() const {
    return m_route.safe([this](const QString& id) { return m_installed.count(id) > 0; },
                        m_edition != nullptr);
}

void SettingsView::setRoute(const SettingsRoute& route) {
    m_route = route;
    if (m_rail)
        m_rail->setSelection(safeRoute());
    showPane();
}

void SettingsView::reload() {
    m_installed = m_services.state.load().installed;
    const quint64 generation = ++m_reloadGeneration;
    auto apply = [this, generation](const QList<InstalledPair>& pairs) {
        if (generation != m_reloadGeneration)
            return; // a later reload is under way
        m_manifests.clear();
        for (const InstalledPair& pair : pairs)
            m_manifests.emplace(pair.module.id, pair.manifest);
        m_loaded = true;
        rebuildRail();
        showPane();
        emit reloaded();
    };
    if (!m_services.installedManifests) {
        apply({});
        return;
    }
    m_services.installedManifests().then(this, apply);
}

void SettingsView::followLanguage() {
    m_lang = m_services.settings.appLanguage();
    // The pane that changed the language may still be on the stack: rebuild
    // once control is back in the event loop.
    QMetaObject::invokeMethod(
        this,
        [this] {
            rebuildRail();
            m_paneRoute = {};
            m_paneManifest.reset();
            if (m_pane) {
                m_scroll->takeWidget();
                m_pane->deleteLater();
            }
            showPane();
        },
        Qt::QueuedConnection);
}

void SettingsView::rebuildRail() {
    auto* layout = static_cast<QHBoxLayout*>(this->layout());
    auto* rail = new SidebarRail(
        SidebarModel::items(m_edition, m_installed, m_manifests, m_lang,
                            SidebarModel::anyPermissionDeclared(m_installed, m_manifests)),
        safeRoute(), m_services.state.paths());
    connect(rail, &SidebarRail::selected, this, &SettingsView::setRoute);
    if (m_rail) {
        // The layout hands back the old widget's item for the caller to delete.
        delete layout->replaceWidget(m_rail, rail);
        m_rail->deleteLater();
    } else {
        layout->insertWidget(0, rail);
    }
    m_rail = rail;
}

void SettingsView::showPane() {
    if (!m_loaded)
        return;
    const SettingsRoute route = safeRoute();
    std::optional<ModuleManifest> manifest;
    if (route.kind == SettingsRoute::Kind::module) {
        const auto found = m_manifests.find(route.moduleId);
        if (found != m_manifests.end())
            manifest = found->second;
    }
    // A reload keeps the pane (and what the user is doing in it) unless what
    // it shows has changed.
    if (m_pane && route == m_paneRoute && manifest == m_paneManifest)
        return;
    QWidget* pane = makePane(route);
    pane->setContentsMargins(kPaneMargin, kPaneMargin, kPaneMargin, kPaneMargin);
    if (m_pane) {
        m_scroll->takeWidget();
        m_pane->deleteLater();
    }
    m_scroll->setWidget(pane);
    m_pane = pane;
    m_paneRoute = route;
    m_paneManifest = manifest;
}

QWidget* SettingsView::makePane(const SettingsRoute& route) {
    switch (route.kind) {
    case SettingsRoute::Kind::store:
        return makeStorePane(route.storePage);
    case SettingsRoute::Kind::account:
        return makeAccountPane();
    case SettingsRoute::Kind::edition:
        return m_edition ? m_edition->pane(nullptr) : emptyPane("editionPane");
    case SettingsRoute::Kind::general:
        return new HubGeneralPane(m_services, m_lang);
    case SettingsRoute::Kind::permissions:
        return new PermissionsPane(m_services, m_lang);
    case SettingsRoute::Kind::module: {
        ModulePane::Inputs inputs;
        inputs.moduleId = route.moduleId;
        const auto found = m_manifests.find(route.moduleId);
        if (found != m_manifests.end())
            inputs.manifest = found->second;
        inputs.installedManifests = m_manifests;
        inputs.language = m_lang;
        const QString id = route.moduleId;
        return new ModulePane(m_services, std::move(inputs), [this, id] {
            setRoute(SettingsRoute::store(StorePage::detail(id)));
        });
    }
    }
    return emptyPane("emptyPane");
}

StoreOperations* SettingsView::storeOperations() {
    if (!m_storeOperations && m_services.store) {
        m_storeOperations = new StoreOperations(*m_services.store, m_services.state, this);
        // Signing in or out changes what the catalog offers and allows.
        if (m_services.account)
            connect(&m_services.account->auth, &AuthService::currentUserSet, m_storeOperations,
                    &StoreOperations::reload);
    }
    return m_storeOperations;
}

RemoteImageCache* SettingsView::images() {
    if (!m_images && m_services.imageNetwork)
        m_images = new RemoteImageCache(*m_services.imageNetwork, this);
    return m_images;
}

QWidget* SettingsView::makeStorePane(const StorePage& page) {
    StoreOperations* operations = storeOperations();
    RemoteImageCache* cache = images();
    if (!operations || !cache)
        return emptyPane("storePane");
    auto* pane = new StorePane({*operations, *cache, m_services.state.paths(), m_services.runner,
                                m_lang, page,
                                [this](const SettingsRoute& route) { setRoute(route); }});
    // The window's route follows the pane's page, so a reload keeps it.
    connect(pane, &StorePane::pageChanged, this, [this](const StorePage& shown) {
        m_route = SettingsRoute::store(shown);
        m_paneRoute = m_route;
    });
    return pane;
}

QWidget* SettingsView::makeAccountPane() {
    if (!m_services.account)
        return emptyPane("accountPane");
    return new AccountTab(*m_services.account, m_services.workspace, images(), m_lang);
}

} // namespace ovrel
