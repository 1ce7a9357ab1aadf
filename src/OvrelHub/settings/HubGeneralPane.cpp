#include "OvrelHub/settings/HubGeneralPane.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/settings/PaneStyle.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/update/VersionChecker.h"
#include "Platform/desktop/LoginItem.h"
#include "Platform/system/SystemLog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace ovrel {

namespace {

// A switch with its explanation below it.
QWidget* described(QCheckBox* control, const QString& description) {
    auto* widget = new QWidget();
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(control);
    QLabel* help = PaneStyle::secondaryLabel(description, PaneStyle::captionFont(control->font()));
    help->setContentsMargins(24, 0, 0, 0);
    layout->addWidget(help);
    return widget;
}

QComboBox* numberPicker(int from, int to, int current) {
    auto* picker = new QComboBox();
    for (int n = from; n <= to; ++n)
        picker->addItem(QString::number(n), n);
    picker->setCurrentIndex(picker->findData(current));
    return picker;
}

} // namespace

HubGeneralPane::HubGeneralPane(SettingsServices& services, AppLanguage language, QWidget* parent)
    : QWidget(parent), m_services(services), m_lang(language) {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(16);
    layout->addWidget(applicationSection());
    layout->addWidget(menuLayoutSection());
    layout->addWidget(updateSection());
    layout->addStretch(1);
}

QWidget* HubGeneralPane::applicationSection() {
    QGroupBox* box = PaneStyle::section(Loc::t(LocKey::application, m_lang));
    auto* layout = static_cast<QVBoxLayout*>(box->layout());

    m_launchAtLogin = new QCheckBox(Loc::t(LocKey::launchAtLogin, m_lang));
    m_launchAtLogin->setChecked(m_services.loginItem.isEnabled());
    connect(m_launchAtLogin, &QCheckBox::toggled, this, &HubGeneralPane::setLaunchAtLogin);
    layout->addWidget(described(m_launchAtLogin, Loc::t(LocKey::launchAtLoginDesc, m_lang)));

    m_debugLog = new QCheckBox(Loc::t(LocKey::debugLogging, m_lang));
    m_debugLog->setChecked(m_services.settings.debugLog());
    connect(m_debugLog, &QCheckBox::toggled, this,
            [this](bool on) { m_services.settings.setDebugLog(on); });
    layout->addWidget(described(m_debugLog, Loc::t(LocKey::debugLoggingDesc, m_lang)));

    m_language = new QComboBox();
    for (AppLanguage option : AppLanguages::allCases())
        m_language->addItem(AppLanguages::nativeName(option), static_cast<int>(option));
    m_language->setCurrentIndex(
        m_language->findData(static_cast<int>(m_services.settings.appLanguage())));
    connect(m_language, &QComboBox::activated, this, [this](int index) {
        m_services.settings.setAppLanguage(
            static_cast<AppLanguage>(m_language->itemData(index).toInt()));
    });
    m_automaticLanguage = new QPushButton(Loc::t(LocKey::automaticMatchSystem, m_lang));
    connect(m_automaticLanguage, &QPushButton::clicked, this,
            [this] { m_services.settings.setAppLanguage(AppLanguages::systemDefault()); });
    auto* languageRow = new QFormLayout();
    languageRow->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    languageRow->addRow(Loc::t(LocKey::languageLabel, m_lang), m_language);
    languageRow->addRow(QString(), m_automaticLanguage);
    layout->addLayout(languageRow);
    return box;
}

void HubGeneralPane::setLaunchAtLogin(bool on) {
    try {
        m_services.loginItem.setEnabled(on);
    } catch (const LoginItemError& error) {
        SystemLog::write(QStringLiteral("Ovrel: launch-at-login lỗi (chạy ngoài .app bundle?): ") +
                         error.description());
    }
    // Show what the desktop will really do.
    const QSignalBlocker blocker(m_launchAtLogin);
    m_launchAtLogin->setChecked(m_services.loginItem.isEnabled());
}

QWidget* HubGeneralPane::menuLayoutSection() {
    QGroupBox* box = PaneStyle::section(Loc::t(LocKey::menuLayoutSection, m_lang));
    auto* form = new QFormLayout();
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    static_cast<QVBoxLayout*>(box->layout())->addLayout(form);

    m_presentation = new QComboBox();
    m_presentation->addItem(Loc::t(LocKey::menuLayoutList, m_lang),
                            static_cast<int>(MenuPresentation::list));
    m_presentation->addItem(Loc::t(LocKey::menuLayoutGrid, m_lang),
                            static_cast<int>(MenuPresentation::grid));
    m_presentation->setCurrentIndex(
        m_presentation->findData(static_cast<int>(m_services.settings.menuPresentation())));
    connect(m_presentation, &QComboBox::activated, this, [this](int index) {
        m_services.settings.setMenuPresentation(
            static_cast<MenuPresentation>(m_presentation->itemData(index).toInt()));
        showGridPickers();
    });
    form->addRow(Loc::t(LocKey::menuLayoutPresentation, m_lang), m_presentation);

    const HubSettings::GridLayout grid = m_services.settings.menuGridLayout();
    m_columns =
        numberPicker(HubSettings::kMinGridColumns, HubSettings::kMaxGridColumns, grid.columns);
    m_rows = numberPicker(HubSettings::kMinGridRows, HubSettings::kMaxGridRows, grid.rows);
    connect(m_columns, &QComboBox::activated, this, &HubGeneralPane::writeGridLayout);
    connect(m_rows, &QComboBox::activated, this, &HubGeneralPane::writeGridLayout);
    // In the presentation's form, so the three pickers line up.
    m_menuForm = form;
    form->addRow(Loc::t(LocKey::menuLayoutColumns, m_lang), m_columns);
    form->addRow(Loc::t(LocKey::menuLayoutRows, m_lang), m_rows);
    showGridPickers();
    return box;
}

void HubGeneralPane::showGridPickers() {
    const bool grid =
        m_presentation->currentData().toInt() == static_cast<int>(MenuPresentation::grid);
    m_menuForm->setRowVisible(m_columns, grid);
    m_menuForm->setRowVisible(m_rows, grid);
}

void HubGeneralPane::writeGridLayout() {
    const int rows = std::clamp(m_rows->currentData().toInt(), HubSettings::kMinGridRows,
                                HubSettings::kMaxGridRows);
    const int columns = std::clamp(m_columns->currentData().toInt(), HubSettings::kMinGridColumns,
                                   HubSettings::kMaxGridColumns);
    m_services.settings.setMenuGridLayout(rows, columns);
}

QWidget* HubGeneralPane::updateSection() {
    QGroupBox* box = PaneStyle::section(Loc::t(LocKey::updateSection, m_lang));
    auto* layout = static_cast<QVBoxLayout*>(box->layout());
    const QString version =
        m_services.runningVersion.isEmpty() ? QStringLiteral("—") : m_services.runningVersion;
    m_currentVersion =
        PaneStyle::secondaryLabel(Loc::format(LocKey::currentVersionFormat, m_lang, {version}),
                                  PaneStyle::captionFont(font()));
    layout->addWidget(m_currentVersion);

    auto* row = new QHBoxLayout();
    m_check = new QPushButton(Loc::t(LocKey::checkForUpdates, m_lang));
    connect(m_check, &QPushButton::clicked, this, &HubGeneralPane::checkForUpdates);
    row->addWidget(m_check);
    m_updateStatus = PaneStyle::secondaryLabel(QString(), PaneStyle::captionFont(font()));
    m_updateStatus->setVisible(false);
    row->addWidget(m_updateStatus, 1);
    layout->addLayout(row);

    m_whatsNew = new QPushButton(Loc::t(LocKey::viewWhatsNew, m_lang));
    m_whatsNew->setVisible(false);
    connect(m_whatsNew, &QPushButton::clicked, this, [this] {
        if (m_availableRelease && m_services.showWhatsNew)
            m_services.showWhatsNew(*m_availableRelease);
    });
    auto* whatsNewRow = new QHBoxLayout();
    whatsNewRow->addWidget(m_whatsNew);
    whatsNewRow->addStretch(1);
    layout->addLayout(whatsNewRow);
    return box;
}

void HubGeneralPane::checkForUpdates() {
    if (!m_checker && m_services.makeVersionChecker)
        m_checker = m_services.makeVersionChecker(this);
    if (!m_checker)
        return;
    m_check->setEnabled(false);
    m_updateStatus->setText(Loc::t(LocKey::updateChecking, m_lang));
    m_updateStatus->setVisible(true);
    m_availableRelease.reset();
    m_whatsNew->setVisible(false);
    // The checker belongs to this pane: no result arrives after it is gone.
    m_checker->check([this](const CheckResult& result) { applyCheckResult(result); });
}

void HubGeneralPane::applyCheckResult(const CheckResult& result) {
    m_check->setEnabled(true);
    switch (result.kind) {
    case CheckResult::Kind::available:
        m_availableRelease = result.release;
        m_updateStatus->setText(
            Loc::format(LocKey::updateAvailableFormat, m_lang, {result.release->version}));
        break;
    case CheckResult::Kind::upToDate:
        m_updateStatus->setText(Loc::t(LocKey::updateUpToDate, m_lang));
        break;
    case CheckResult::Kind::failed:
        m_updateStatus->setText(Loc::t(LocKey::updateCheckFailed, m_lang));
        break;
    }
    m_whatsNew->setVisible(m_availableRelease.has_value());
    emit manualCheckFinished();
}

} // namespace ovrel
