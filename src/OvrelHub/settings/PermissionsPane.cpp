#include "OvrelHub/settings/PermissionsPane.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/runner/ModuleCommandRef.h"
#include "OvrelHub/settings/PaneStyle.h"
#include "OvrelHub/settings/PermissionRecheck.h"
#include "OvrelModuleKit/inbox/ModuleCommand.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovrel {

namespace {

LocKey permissionName(PermissionKind kind) {
    switch (kind) {
    case PermissionKind::screenRecording:
        return LocKey::permissionScreenRecording;
    case PermissionKind::accessibility:
        return LocKey::permissionAccessibility;
    case PermissionKind::inputMonitoring:
        return LocKey::permissionInputMonitoring;
    case PermissionKind::fullDiskAccess:
        return LocKey::permissionFullDiskAccess;
    }
    return LocKey::permissionAccessibility;
}

LocKey statusName(PermissionStatus status) {
    switch (status) {
    case PermissionStatus::granted:
        return LocKey::permissionStatusGranted;
    case PermissionStatus::denied:
        return LocKey::permissionStatusDenied;
    case PermissionStatus::undetermined:
        return LocKey::permissionStatusUndetermined;
    }
    return LocKey::permissionStatusUndetermined;
}

std::map<QString, ModuleManifest> byId(const QList<InstalledPair>& pairs) {
    std::map<QString, ModuleManifest> manifests;
    for (const InstalledPair& pair : pairs)
        manifests.emplace(pair.module.id, pair.manifest);
    return manifests;
}

} // namespace

PermissionsPane::PermissionsPane(SettingsServices& services, AppLanguage language, QWidget* parent)
    : QWidget(parent), m_services(services), m_lang(language), m_opener(services.workspace) {
    m_layout = new QVBoxLayout(this);
    m_layout->setSpacing(14);
    // The title beside "Refresh", which keeps the trailing edge.
    auto* top = new QHBoxLayout();
    m_title = new QLabel(Loc::t(LocKey::permissionsSectionTitle, m_lang));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setWordWrap(true);
    m_title->setFont(PaneStyle::titleFont(font()));
    top->addWidget(m_title, 1);
    m_refresh = new QPushButton(Loc::t(LocKey::permissionsRefreshButton, m_lang));
    connect(m_refresh, &QPushButton::clicked, this, &PermissionsPane::refresh);
    top->addWidget(m_refresh, 0, Qt::AlignVCenter);
    m_layout->addLayout(top);
    m_layout->addStretch(1);
    reload();
}

void PermissionsPane::reload() {
    const std::map<QString, InstalledModule> installed = m_services.state.load().installed;
    if (!m_services.installedManifests) {
        display({});
        return;
    }
    const ModulePaths paths = m_services.state.paths();
    m_services.installedManifests().then(
        this, [this, installed, paths](const QList<InstalledPair>& pairs) {
            display(PermissionOverviewBuilder::items(
                installed, byId(pairs), m_lang,
                [&paths](const QString& id, const std::vector<PermissionKind>& declared) {
                    return PermissionStatusFile::read(paths, id, declared);
                }));
        });
}

void PermissionsPane::display(QList<PermissionOverviewBuilder::Group> groups) {
    m_groups = std::move(groups);
    delete m_list;
    m_list = new QWidget();
    auto* list = new QVBoxLayout(m_list);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(14);
    for (const PermissionOverviewBuilder::Group& group : m_groups) {
        list->addWidget(PaneStyle::heading(group.moduleName, font()));
        auto* rows = new QGridLayout();
        rows->setColumnStretch(0, 1);
        int line = 0;
        for (const PermissionOverviewBuilder::Row& row : group.rows) {
            auto* name = new QLabel(Loc::t(permissionName(row.kind), m_lang));
            name->setWordWrap(true);
            rows->addWidget(name, line, 0);
            QLabel* status =
                PaneStyle::secondaryLabel(Loc::t(statusName(row.status), m_lang), font());
            status->setWordWrap(false);
            const bool granted = row.status == PermissionStatus::granted;
            PaneStyle::setWarning(*status, !granted);
            rows->addWidget(status, line, 1, Qt::AlignRight);
            if (!granted) {
                auto* open = new QPushButton(Loc::t(LocKey::permissionOpenSettingsButton, m_lang));
                const PermissionKind kind = row.kind;
                connect(open, &QPushButton::clicked, this,
                        [this, kind] { m_opener.open(kind, m_lang); });
                rows->addWidget(open, line, 2);
            }
            ++line;
        }
        list->addLayout(rows);
    }
    m_layout->insertWidget(1, m_list);
}

void PermissionsPane::refresh() {
    const auto start = std::chrono::system_clock::now();
    QStringList asked;
    ModuleCommandSending* runner = m_services.runner ? m_services.runner() : nullptr;
    for (const PermissionOverviewBuilder::Group& group : m_groups) {
        if (runner)
            runner->send(QString(ModuleCommand::checkPermissions), std::nullopt, group.moduleId);
        asked.append(group.moduleId);
    }
    m_refresh->setEnabled(false);
    auto* recheck = new PermissionRecheck(m_services.state.paths(), asked, start, this);
    connect(recheck, &PermissionRecheck::finished, this, [this, recheck] {
        recheck->deleteLater();
        m_refresh->setEnabled(true);
        reload();
    });
    recheck->start();
}

} // namespace ovrel
