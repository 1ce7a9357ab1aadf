#include "PulseModule.h"

#include "BreakNotification.h"
#include "InputDevicePermission.h"
#include "OvrelModuleKit/launch/RunningBundle.h"
#include "OvrelModuleKit/menu/DynamicMenuFile.h"
#include "OvrelModuleKit/permissions/PermissionStatusFile.h"
#include "OvrelModuleKitUI/ModuleWindow.h"
#include "Platform/system/UnixTime.h"
#include "PulseWindow.h"

#include <QLocale>
#include <QtDebug>
#include <algorithm>

namespace ovrel::pulse {

namespace {

using std::chrono::minutes;
using Clock = std::chrono::system_clock;

const QString kPauseKey = QStringLiteral("pause");
const QString kPausedUntilKey = QStringLiteral("pausedUntil");

QString pauseName(PulseSchedule::Pause pause) {
    switch (pause) {
    case PulseSchedule::Pause::off:
        return QStringLiteral("off");
    case PulseSchedule::Pause::forAWhile:
        return QStringLiteral("forAWhile");
    case PulseSchedule::Pause::untilResumed:
        return QStringLiteral("untilResumed");
    }
    return {};
}

} // namespace

PulseModule::PulseModule()
    : m_launch(
          QStringLiteral(OVREL_MODULE_ID), ModulePaths::defaultPaths(), std::nullopt,
          [this](const QString& language) { applyLanguage(language); },
          [this](const SettingsMap& values) { applySettings(values); },
          [this](const QString& command) { handle(command); }) {
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { onTimer(); });
    m_schedule.setInterval(minutes(50), Clock::now());
    restorePause();
}

void PulseModule::applyLanguage(const QString& language) {
    m_language = language;
    stateChanged();
}

void PulseModule::applySettings(const SettingsMap& values) {
    const auto interval = values.value(QStringLiteral("intervalMinutes")).intValue();
    if (interval)
        m_schedule.setInterval(minutes(std::clamp<qint64>(*interval, 1, 240)), Clock::now());
    if (values.contains(QStringLiteral("notify")))
        m_notify = values.value(QStringLiteral("notify")).boolValue().value_or(true);
    stateChanged();
}

void PulseModule::handle(const QString& command) {
    if (command == QLatin1String("open"))
        showWindow();
    else if (command == QLatin1String("breakNow"))
        takeBreakNow();
    else if (command == QLatin1String("pause"))
        pauseUntilResumed();
    else if (command == QLatin1String("pause15"))
        pauseFor(minutes(15));
    else if (command == QLatin1String("pause60"))
        pauseFor(minutes(60));
    else if (command == QLatin1String("resume"))
        resume();
    else if (command == QLatin1String("checkPermissions"))
        checkPermissions();
    else
        qWarning().noquote() << "pulse: unknown command" << command;
}

void PulseModule::pauseFor(minutes duration) {
    m_schedule.pauseFor(duration, Clock::now());
    stateChanged();
}

void PulseModule::pauseUntilResumed() {
    m_schedule.pauseUntilResumed();
    stateChanged();
}

void PulseModule::resume() {
    m_schedule.resume(Clock::now());
    stateChanged();
}

void PulseModule::takeBreakNow() {
    m_schedule.takeBreak(Clock::now());
    remind();
    stateChanged();
}

void PulseModule::remind() {
    if (!m_notify)
        return;
    const QString icon =
        RunningBundle::path().value_or(QString()) + QStringLiteral("/Contents/Resources/pulse.png");
    BreakNotification::show(words(PulseText::breakTitle), words(PulseText::breakBody), icon);
}

void PulseModule::onTimer() {
    if (m_schedule.advance(Clock::now()))
        remind();
    stateChanged();
}

void PulseModule::stateChanged() {
    savePause();
    m_timer.stop();
    if (const auto next = m_schedule.nextEvent()) {
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(*next - Clock::now());
        // A little late rather than early, so the event is due when the timer fires.
        m_timer.start(static_cast<int>(std::clamp<qint64>(wait.count() + 100, 0, 3600 * 1000)));
    }
    publishMenu();
    refreshWindow();
}

void PulseModule::restorePause() {
    ModulePrivateState& state = m_launch.privateState();
    const QString stored = state.string(kPauseKey).value_or(QString());
    PulseSchedule::Pause pause = PulseSchedule::Pause::off;
    if (stored == pauseName(PulseSchedule::Pause::untilResumed))
        pause = PulseSchedule::Pause::untilResumed;
    else if (stored == pauseName(PulseSchedule::Pause::forAWhile))
        pause = PulseSchedule::Pause::forAWhile;
    const auto until = UnixTime::fromSeconds(state.doubleValue(kPausedUntilKey));
    m_schedule.restorePause(pause, until.value_or(Clock::time_point{}), Clock::now());
}

void PulseModule::savePause() {
    ModulePrivateState& state = m_launch.privateState();
    state.setString(pauseName(m_schedule.pause()), kPauseKey);
    state.setDouble(UnixTime::toSeconds(m_schedule.pausedUntil()), kPausedUntilKey);
}

QString PulseModule::timeText(PulseSchedule::TimePoint at) const {
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count());
    return QLocale(m_language).toString(moment.time(), QLocale::ShortFormat);
}

QString PulseModule::status() const {
    switch (m_schedule.pause()) {
    case PulseSchedule::Pause::off:
        return words(PulseText::nextBreakAt).arg(timeText(m_schedule.nextBreak()));
    case PulseSchedule::Pause::forAWhile:
        return words(PulseText::pausedUntil).arg(timeText(m_schedule.pausedUntil()));
    case PulseSchedule::Pause::untilResumed:
        return words(PulseText::paused);
    }
    return {};
}

QString PulseModule::menuLabel(const QString& command) const {
    if (const auto& manifest = m_launch.manifest()) {
        for (const MenuEntry& entry : manifest->menu()) {
            if (entry.command == command)
                return entry.label.text(m_language).value_or(command);
        }
    }
    return command;
}

void PulseModule::publishMenu() {
    using Pause = PulseSchedule::Pause;
    const Pause pause = m_schedule.pause();
    auto entry = [](QString id, QString title, std::optional<QString> command, bool checked) {
        return DynamicMenuItem{std::move(id), std::move(title), std::move(command),
                               true,          checked,          {}};
    };
    DynamicMenuItem statusLine = entry("status", status(), std::nullopt, false);
    statusLine.enabled = false;
    DynamicMenuItem pauseMenu =
        entry("pause-menu", words(PulseText::pause), std::nullopt, pause != Pause::off);
    pauseMenu.children = {
        entry("pause-15", words(PulseText::pauseFor15Minutes), QStringLiteral("pause15"), false),
        entry("pause-60", words(PulseText::pauseFor1Hour), QStringLiteral("pause60"), false),
        entry("pause", words(PulseText::pauseUntilResumed), QStringLiteral("pause"),
              pause == Pause::untilResumed),
    };
    const std::vector<DynamicMenuItem> items{
        statusLine,
        entry("resume", words(PulseText::remindersOn), QStringLiteral("resume"),
              pause == Pause::off),
        pauseMenu,
        entry("breakNow", menuLabel(QStringLiteral("breakNow")), QStringLiteral("breakNow"), false),
    };
    try {
        DynamicMenuFile::write(items, m_launch.paths(), m_launch.moduleId());
    } catch (const std::exception& error) {
        qWarning().noquote() << "pulse: cannot publish the menu:" << error.what();
    }
}

void PulseModule::checkPermissions() {
    try {
        PermissionStatusFile::write(
            {{PermissionKind::inputMonitoring, InputDevicePermission::check()}}, m_launch.paths(),
            m_launch.moduleId(), Clock::now());
    } catch (const std::exception& error) {
        qWarning().noquote() << "pulse: cannot report permissions:" << error.what();
    }
}

void PulseModule::showWindow() {
    if (!m_window) {
        m_view = new PulseWindow(
            [this] {
                if (m_schedule.pause() == PulseSchedule::Pause::off)
                    pauseUntilResumed();
                else
                    resume();
            },
            [this] { takeBreakNow(); });
        m_window = ModuleWindow::make(QString(), QSize(320, 160), QSize(260, 120), m_view);
    }
    refreshWindow();
    ModuleWindow::bringToFront(m_window.get());
}

void PulseModule::refreshWindow() {
    if (!m_window)
        return;
    const auto& manifest = m_launch.manifest();
    m_window->setWindowTitle(manifest ? manifest->name().text(m_language).value_or("Pulse")
                                      : QStringLiteral("Pulse"));
    const bool running = m_schedule.pause() == PulseSchedule::Pause::off;
    m_view->present(status(), words(running ? PulseText::pause : PulseText::resume),
                    menuLabel(QStringLiteral("breakNow")));
}

} // namespace ovrel::pulse
