#include "ClockModule.h"

#include "ClockFormat.h"
#include "ClockView.h"
#include "OvrelModuleKit/menu/DynamicMenuFile.h"
#include "OvrelModuleKitUI/ModuleWindow.h"
#include "RecentZones.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtDebug>

namespace ovrel::clock {

namespace {

const QString kShowZonePrefix = QStringLiteral("showZone");

} // namespace

ClockModule::ClockModule()
    : m_launch(
          QStringLiteral(OVREL_MODULE_ID), ModulePaths::defaultPaths(), std::nullopt,
          [this](const QString& language) { applyLanguage(language); },
          [this](const SettingsMap& values) { applySettings(values); },
          [this](const QString& command) { handle(command); }) {
    m_menuTimer.setSingleShot(true);
    QObject::connect(&m_menuTimer, &QTimer::timeout, [this] { publishMenu(); });
}

void ClockModule::applyLanguage(const QString& language) {
    m_language = language;
    refreshWindow();
    publishMenu();
}

void ClockModule::applySettings(const SettingsMap& values) {
    m_settings = ClockSettings::from(values);
    m_pickedZone.reset();
    if (ClockFormat::isKnownZone(m_settings.timeZone))
        RecentZones(m_launch.privateState()).promote(m_settings.timeZone);
    refreshWindow();
    publishMenu();
}

void ClockModule::handle(const QString& command) {
    if (command == QLatin1String("open"))
        showWindow();
    else if (command == QLatin1String("copyTime"))
        copyTime();
    else if (command.startsWith(kShowZonePrefix))
        showRecentZone(command.mid(kShowZonePrefix.size()).toInt() - 1);
    else
        qWarning().noquote() << "clock: unknown command" << command;
}

QString ClockModule::shownZone() const {
    return m_pickedZone.value_or(m_settings.timeZone);
}

void ClockModule::showWindow() {
    if (!m_window) {
        m_view = new ClockView;
        m_window = ModuleWindow::make(QString(), QSize(360, 200), QSize(240, 140), m_view);
    }
    refreshWindow();
    ModuleWindow::bringToFront(m_window.get());
}

void ClockModule::refreshWindow() {
    if (!m_window)
        return;
    const auto& manifest = m_launch.manifest();
    m_window->setWindowTitle(manifest ? manifest->name().text(m_language).value_or("Clock")
                                      : QStringLiteral("Clock"));
    m_view->present(m_settings, m_language, shownZone());
}

void ClockModule::copyTime() {
    const QDateTime now = ClockFormat::now(shownZone());
    QGuiApplication::clipboard()->setText(
        ClockFormat::time(now, m_language, m_settings.use24Hour, true));
}

void ClockModule::showRecentZone(int index) {
    const QStringList zones = RecentZones(m_launch.privateState()).list();
    if (index < 0 || index >= zones.size())
        return;
    m_pickedZone = zones.at(index);
    RecentZones(m_launch.privateState()).promote(*m_pickedZone);
    showWindow();
    publishMenu();
}

void ClockModule::publishMenu() {
    const QStringList zones = RecentZones(m_launch.privateState()).list();
    std::vector<DynamicMenuItem> items;
    for (int i = 0; i < zones.size(); ++i) {
        const QString& zone = zones.at(i);
        const QString time =
            ClockFormat::time(ClockFormat::now(zone), m_language, m_settings.use24Hour, false);
        items.push_back(
            DynamicMenuItem{zone.isEmpty() ? QStringLiteral("local") : zone,
                            ClockFormat::zoneName(zone, m_language) + QStringLiteral(" — ") + time,
                            kShowZonePrefix + QString::number(i + 1),
                            true,
                            zone == shownZone(),
                            {}});
    }
    try {
        DynamicMenuFile::write(items, m_launch.paths(), m_launch.moduleId());
    } catch (const std::exception& error) {
        qWarning().noquote() << "clock: cannot publish the menu:" << error.what();
    }
    scheduleMenuRefresh();
}

void ClockModule::scheduleMenuRefresh() {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    m_menuTimer.start(static_cast<int>(60000 - now % 60000 + 50));
}

} // namespace ovrel::clock
