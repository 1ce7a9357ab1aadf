#include "OvrelModuleKitUI/StandardModuleLaunch.h"

#include "OvrelModuleKit/inbox/ModuleHostState.h"
#include "OvrelModuleKit/inbox/ModuleInbox.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/launch/RunningBundle.h"
#include "OvrelModuleKitUI/ModuleStandardMenu.h"
#include "Platform/notify/DarwinNotify.h"
#include "Platform/system/SystemLog.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

namespace ovrel {

StandardModuleLaunch::StandardModuleLaunch(QString moduleId, ModulePaths paths,
                                           std::optional<QByteArray> manifestData,
                                           LanguageHandler onLanguage, SettingsHandler onSettings,
                                           CommandHandler onCommand, QObject* parent)
    : QObject(parent), m_moduleId(std::move(moduleId)), m_paths(std::move(paths)),
      m_injectedManifestData(std::move(manifestData)), m_settingsStore(m_paths),
      m_onLanguage(std::move(onLanguage)), m_onSettings(std::move(onSettings)),
      m_onCommand(std::move(onCommand)) {}

void StandardModuleLaunch::launch() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() != application->thread())
        QMetaObject::invokeMethod(application, &ModuleStandardMenu::install,
                                  Qt::BlockingQueuedConnection);
    else
        ModuleStandardMenu::install();

    loadManifest();

    announceLanguage();
    observe(ModuleNotify::hostName(), [](StandardModuleLaunch& self) { self.announceLanguage(); });

    if (m_manifest) {
        loadSettings();
        if (m_onSettings)
            m_onSettings(m_settings);
    }
    observe(ModuleNotify::settingsName(m_moduleId),
            [](StandardModuleLaunch& self) { self.reloadSettings(); });
    observe(ModuleNotify::commandName(m_moduleId),
            [](StandardModuleLaunch& self) { self.takeAndHandle(); });
    // A command left after the inbox is read below must wake this process:
    // the rules have to be in force before that read.
    DarwinNotify::waitUntilObserving();

    m_commandHandler = m_onCommand;

    if (!takeAndHandle() && m_manifest && m_manifest->openWindowOnLaunch())
        handle(QStringLiteral("open"));
}

void StandardModuleLaunch::observe(const QString& name,
                                   std::function<void(StandardModuleLaunch&)> action) {
    // Observations outlive the launch object; one that fires after it is gone does nothing.
    QPointer<StandardModuleLaunch> self(this);
    ModuleNotify::observe(name, [self, action] {
        if (!self)
            return;
        QMetaObject::invokeMethod(self, [self, action] {
            if (self)
                action(*self);
        });
    });
}

std::optional<QByteArray> StandardModuleLaunch::manifestBytes() const {
    if (m_injectedManifestData)
        return m_injectedManifestData;
    const std::optional<QString> bundle = RunningBundle::path();
    if (!bundle)
        return std::nullopt;
    return ModuleManifest::readData(*bundle);
}

void StandardModuleLaunch::loadManifest() {
    m_manifest.reset();
    if (const std::optional<QByteArray> bytes = manifestBytes()) {
        try {
            m_manifest = ModuleManifest::load(*bytes, m_moduleId);
            return;
        } catch (const ManifestError&) {
        }
    }
    SystemLog::write(QStringLiteral("Ovrel module '") + m_moduleId +
                     QStringLiteral("': không đọc được manifest — dùng mặc định rỗng"));
}

void StandardModuleLaunch::announceLanguage() {
    const QString language = ModuleHostState::language(m_paths);
    if (m_onLanguage)
        m_onLanguage(language);
}

void StandardModuleLaunch::loadSettings() {
    m_settings = m_settingsStore.load(m_moduleId, *m_manifest);
}

void StandardModuleLaunch::reloadSettings() {
    if (!m_manifest)
        return;
    loadSettings();
    if (m_onSettings)
        m_onSettings(m_settings);
}

bool StandardModuleLaunch::drainInbox() {
    return takeAndHandle();
}

void StandardModuleLaunch::handleReopen() {
    if (m_manifest && m_manifest->openWindowOnLaunch())
        handle(QStringLiteral("open"));
}

ModulePrivateState& StandardModuleLaunch::privateState() {
    if (!m_privateState)
        m_privateState.emplace(m_moduleId, ModulePrivateState::moduleDefaults(m_moduleId));
    return *m_privateState;
}

bool StandardModuleLaunch::takeAndHandle() {
    const QString lastCommandAt = QLatin1String(kLastCommandAtKey);
    const double lastSeen = privateState().doubleValue(lastCommandAt);
    // The take consumes the slot whatever it holds: a stale, repeated or
    // corrupt file is gone afterwards and cannot block the next command.
    const std::optional<InboxCommand> command = ModuleInbox(m_paths, m_moduleId).take(lastSeen);
    if (!command)
        return false;
    privateState().setDouble(command->at, lastCommandAt);
    handle(command->command);
    return true;
}

void StandardModuleLaunch::handle(const QString& command) {
    if (m_commandHandler) {
        m_commandHandler(command);
        return;
    }
    SystemLog::write(QStringLiteral("Ovrel module '") + m_moduleId +
                     QStringLiteral("': chưa có bộ xử lý lệnh, bỏ qua '") + command +
                     QLatin1Char('\''));
}

} // namespace ovrel
