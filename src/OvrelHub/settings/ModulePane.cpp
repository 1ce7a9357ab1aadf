#include "OvrelHub/settings/ModulePane.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/menu/ModuleMenuBuilder.h"
#include "OvrelHub/modules/ModuleHotkeyEditor.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelHub/resident/ResidentStatusCheck.h"
#include "OvrelHub/resident/ResidentSwitch.h"
#include "OvrelHub/runner/ModuleCommandRef.h"
#include "OvrelHub/settings/HotkeyRow.h"
#include "OvrelHub/settings/ModuleDisplayName.h"
#include "OvrelHub/settings/ModuleSettingsForm.h"
#include "OvrelHub/settings/PaneStyle.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shortcuts/ShortcutManager.h"
#include "Platform/bundle/BundleIcon.h"
#include "Platform/notify/NotificationCenter.h"
#include "Platform/tray/SymbolIcons.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace ovrel {

namespace {

constexpr int kHeaderIconSize = 32;
constexpr int kCaptionIndent = 24; // under the switch's text, past its box

QPushButton* linkButton(const QString& text) {
    auto* button = new QPushButton(text);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, palette.color(QPalette::Link));
    button->setPalette(palette);
    return button;
}

// A switch with its explanation below it.
QCheckBox* addSwitch(QVBoxLayout* layout, const QString& title, const QString& caption) {
    auto* box = new QCheckBox(title);
    layout->addWidget(box);
    if (!caption.isEmpty()) {
        QLabel* help = PaneStyle::secondaryLabel(caption, PaneStyle::captionFont(box->font()));
        help->setContentsMargins(kCaptionIndent, 0, 0, 0);
        layout->addWidget(help);
    }
    return box;
}

} // namespace

ModulePane::ModulePane(SettingsServices& services, Inputs inputs,
                       std::function<void()> onViewInStore, QWidget* parent)
    : QWidget(parent), m_services(services), m_in(std::move(inputs)),
      m_hotkeys(
          services.state, services.center,
          [this](const QString& id) -> std::optional<ModuleManifest> {
              const auto found = m_in.installedManifests.find(id);
              if (found == m_in.installedManifests.end())
                  return std::nullopt;
              return found->second;
          },
          [] {
              return HubSettings::reservedHotkeysProvider ? HubSettings::reservedHotkeysProvider()
                                                          : std::vector<Hotkey>{};
          }) {
    // A launcher the user deleted turns the flag off, so the switch shows the truth.
    if (m_services.shortcuts)
        m_services.shortcuts->reconcileAll();
    reloadEntry();
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    addHeader(layout, onViewInStore);
    if (!m_in.manifest)
        layout->addWidget(PaneStyle::secondaryLabel(Loc::t(LocKey::appsModuleBroken, m_in.language),
                                                    PaneStyle::captionFont(font())));
    if (m_installed && m_services.shortcuts)
        addApplicationsSwitch(layout);
    if (m_in.manifest && m_in.manifest->mode() == ModuleMode::resident &&
        m_services.residentSwitch && m_services.residentStatus)
        addBackgroundSwitch(layout);
    if (m_installed)
        addQuickAccessSwitch(layout);
    if (m_in.manifest && !m_in.manifest->menu().isEmpty())
        addShortcuts(layout);
    if (m_in.manifest && !m_in.manifest->settings().isEmpty()) {
        layout->addWidget(PaneStyle::divider());
        m_form =
            new ModuleSettingsForm(m_in.moduleId, *m_in.manifest, m_in.language,
                                   m_services.moduleSettings, m_services.moduleSettingsChanged);
        layout->addWidget(m_form);
    }
    layout->addStretch(1);
}

QString ModulePane::displayName() const {
    return moduleDisplayName(m_in.moduleId, m_in.manifest ? &*m_in.manifest : nullptr,
                             m_in.language);
}

void ModulePane::reloadEntry() {
    const ModulesState state = m_services.state.load();
    const auto found = state.installed.find(m_in.moduleId);
    if (found == state.installed.end())
        m_installed.reset();
    else
        m_installed = found->second;
}

void ModulePane::addHeader(QVBoxLayout* layout, const std::function<void()>& onViewInStore) {
    auto* header = new QHBoxLayout();
    header->setSpacing(12);
    if (m_installed) {
        auto* icon = new QLabel();
        const QImage image =
            BundleIcon::image(m_services.state.paths().bundle(m_in.moduleId, m_installed->appName),
                              2 * kHeaderIconSize);
        const QIcon fallback = SymbolIcons::icon(QStringLiteral("app"));
        icon->setPixmap(image.isNull() ? fallback.pixmap(kHeaderIconSize, kHeaderIconSize)
                                       : QIcon(QPixmap::fromImage(image)).pixmap(kHeaderIconSize));
        icon->setFixedSize(kHeaderIconSize, kHeaderIconSize);
        icon->setScaledContents(true);
        header->addWidget(icon, 0, Qt::AlignTop);
    }
    auto* names = new QVBoxLayout();
    names->setSpacing(2);
    auto* name = new QLabel(displayName());
    name->setTextFormat(Qt::PlainText);
    name->setWordWrap(true);
    name->setFont(PaneStyle::headlineFont(font()));
    names->addWidget(name);
    if (m_installed)
        names->addWidget(
            PaneStyle::secondaryLabel(m_installed->version, PaneStyle::captionFont(font())));
    header->addLayout(names, 1);

    auto* links = new QVBoxLayout();
    links->setSpacing(0);
    if (m_installed) {
        m_openApp = linkButton(Loc::t(LocKey::appsOpenApp, m_in.language));
        connect(m_openApp, &QPushButton::clicked, this, [this] {
            if (ModuleCommandSending* runner = m_services.runner ? m_services.runner() : nullptr)
                runner->send(QStringLiteral("open"), std::nullopt, m_in.moduleId);
        });
        links->addWidget(m_openApp, 0, Qt::AlignRight);
    }
    m_viewInStore = linkButton(Loc::t(LocKey::appsViewInStore, m_in.language));
    connect(m_viewInStore, &QPushButton::clicked, this, [onViewInStore] {
        if (onViewInStore)
            onViewInStore();
    });
    links->addWidget(m_viewInStore, 0, Qt::AlignRight);
    header->addLayout(links);
    layout->addLayout(header);
}

void ModulePane::addApplicationsSwitch(QVBoxLayout* layout) {
    m_applications = addSwitch(layout, Loc::t(LocKey::appsShowInApplications, m_in.language),
                               Loc::t(LocKey::appsShowInApplicationsDesc, m_in.language));
    m_applications->setChecked(m_installed && m_installed->shortcutEnabled);
    connect(m_applications, &QCheckBox::toggled, this, &ModulePane::setInApplications);
}

void ModulePane::setInApplications(bool on) {
    const std::optional<QString> name =
        m_in.manifest ? std::optional<QString>(displayName()) : std::nullopt;
    m_services.shortcuts->set(on, m_in.moduleId, name);
    // A launcher that could not be made leaves the flag off, and so the switch.
    showStored(m_applications, &InstalledModule::shortcutEnabled, false);
}

void ModulePane::addBackgroundSwitch(QVBoxLayout* layout) {
    layout->addWidget(PaneStyle::divider());
    m_background = addSwitch(layout, Loc::t(LocKey::appsRunInBackground, m_in.language), {});
    m_background->setChecked(!m_installed || m_installed->residentEnabled);
    m_backgroundStatus = PaneStyle::secondaryLabel(QString(), PaneStyle::captionFont(font()));
    m_backgroundStatus->setContentsMargins(kCaptionIndent, 0, 0, 0);
    m_backgroundStatus->setVisible(false);
    layout->addWidget(m_backgroundStatus);
    connect(m_background, &QCheckBox::toggled, this, &ModulePane::setRunInBackground);
    refreshBackgroundStatus();
}

void ModulePane::setRunInBackground(bool on) {
    m_background->setEnabled(false);
    ResidentSwitch* toggle = m_services.residentSwitch;
    const QString id = m_in.moduleId;
    // Registering asks the service manager: never on the main thread. The
    // continuation takes the future so that it also runs after an exception.
    QtConcurrent::run([toggle, id, on] {
        toggle->set(id, on);
    }).then(this, [this](const QFuture<void>&) {
        m_background->setEnabled(true);
        showStored(m_background, &InstalledModule::residentEnabled, true);
        refreshBackgroundStatus();
    });
}

void ModulePane::refreshBackgroundStatus() {
    ResidentStatusCheck* check = m_services.residentStatus;
    const QString id = m_in.moduleId;
    const quint64 generation = ++m_statusGeneration;
    QtConcurrent::run([check, id] {
        return check->status(id, ModuleMode::resident);
    }).then(this, [this, generation](const ResidentStatus& status) {
        if (generation != m_statusGeneration)
            return; // a later check is under way
        m_backgroundStatus->setText(status.text.value_or(QString()));
        m_backgroundStatus->setVisible(status.text.has_value());
        PaneStyle::setWarning(*m_backgroundStatus, status.unhealthy);
    });
}

void ModulePane::addQuickAccessSwitch(QVBoxLayout* layout) {
    layout->addWidget(PaneStyle::divider());
    m_quickAccess = addSwitch(layout, Loc::t(LocKey::appsQuickAccess, m_in.language),
                              Loc::t(LocKey::appsQuickAccessDesc, m_in.language));
    m_quickAccess->setChecked(m_installed && m_installed->quickAccessEnabled);
    connect(m_quickAccess, &QCheckBox::toggled, this, &ModulePane::setQuickAccess);
}

void ModulePane::setQuickAccess(bool on) {
    const QString id = m_in.moduleId;
    m_services.state.withLock([&id, on](const ModuleStateStore::Locked& locked) {
        ModulesState state = locked.read();
        const auto entry = state.installed.find(id);
        if (entry == state.installed.end())
            return;
        entry->second.quickAccessEnabled = on;
        locked.writeLocked(state);
    });
    showStored(m_quickAccess, &InstalledModule::quickAccessEnabled, false);
}

void ModulePane::showStored(QCheckBox* box, bool InstalledModule::*flag, bool withoutEntry) {
    reloadEntry();
    const QSignalBlocker blocker(box);
    box->setChecked(m_installed ? (*m_installed).*flag : withoutEntry);
    // The menu follows the module's flags.
    m_services.center.post(QString::fromLatin1(ovrelModulesChanged));
}

void ModulePane::addShortcuts(QVBoxLayout* layout) {
    layout->addWidget(PaneStyle::divider());
    layout->addWidget(PaneStyle::heading(Loc::t(LocKey::shortcuts, m_in.language), font()));
    for (const MenuEntry& entry : m_in.manifest->menu()) {
        std::optional<Hotkey> current;
        if (m_installed) {
            const auto found = m_installed->hotkeys.find(entry.command);
            if (found != m_installed->hotkeys.end())
                current = found->second;
        }
        const QString command = entry.command;
        auto* row = new HotkeyRow(
            localizedText(entry.label, m_in.language), current,
            [this, command](const Hotkey& hotkey) { return acceptHotkey(command, hotkey); },
            [this, command] {
                m_hotkeys.remove(m_in.moduleId, command);
                reloadEntry();
            },
            m_in.language);
        m_hotkeyRows.append(row);
        layout->addWidget(row);
    }
    m_hotkeyWarning = PaneStyle::warningLabel(QString(), font());
    m_hotkeyWarning->setVisible(false);
    layout->addWidget(m_hotkeyWarning);
}

bool ModulePane::acceptHotkey(const QString& command, const Hotkey& hotkey) {
    const ModuleHotkeyEditor::Decision decision =
        m_hotkeys.record(m_in.moduleId, command, hotkey, m_in.language);
    m_hotkeyWarning->setText(decision.accepted ? QString() : decision.message);
    m_hotkeyWarning->setVisible(!decision.accepted);
    reloadEntry();
    return decision.accepted;
}

} // namespace ovrel
