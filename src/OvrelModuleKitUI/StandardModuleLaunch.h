#pragma once

#include "OvrelModuleKit/launch/ModulePrivateState.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "OvrelModuleKit/settings/SettingValue.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace ovrel {

// The start sequence every module runs so that it behaves the same under the
// hub: the standard menu, its own manifest, the hub's language, its settings,
// the hub's notifications, and a command waiting in its inbox (or its window,
// when the manifest asks for one at launch). One per module process, kept for
// the whole life of the process; main thread only. Every callback runs on the
// main thread.
class StandardModuleLaunch : public QObject {
    Q_OBJECT

public:
    using LanguageHandler = std::function<void(const QString& language)>;
    using SettingsHandler = std::function<void(const SettingsMap& settings)>;
    using CommandHandler = std::function<void(const QString& command)>;

    // Stores the values; loads nothing. Without manifestData the manifest is
    // the running bundle's Contents/Resources/manifest.json.
    StandardModuleLaunch(QString moduleId, ModulePaths paths,
                         std::optional<QByteArray> manifestData, LanguageHandler onLanguage,
                         SettingsHandler onSettings, CommandHandler onCommand,
                         QObject* parent = nullptr);

    // Runs the start sequence; call once, after the application object exists.
    void launch();

    // Reads the settings again and hands them to onSettings (nothing without a manifest).
    void reloadSettings();

    // Takes the waiting inbox command, if any, and handles it; true when one was handled.
    bool drainInbox();

    // The module was asked to come forward: opens its window when its manifest
    // opens one at launch.
    void handleReopen();

    const QString& moduleId() const { return m_moduleId; }
    const ModulePaths& paths() const { return m_paths; }
    QString bundleIdentifier() const { return QStringLiteral("vn.ovrel.module.") + m_moduleId; }
    const ModuleSettingsStore& settingsStore() const { return m_settingsStore; }
    const std::optional<ModuleManifest>& manifest() const { return m_manifest; }
    const SettingsMap& settings() const { return m_settings; }

    // Receives commands; launch() sets it to onCommand.
    const CommandHandler& commandHandler() const { return m_commandHandler; }
    void setCommandHandler(CommandHandler handler) { m_commandHandler = std::move(handler); }

    // The module's own values (domain "vn.ovrel.module.<id>"), made on first use.
    ModulePrivateState& privateState();

    static constexpr const char* kLastCommandAtKey = "lastCommandAt";

private:
    void loadManifest();
    std::optional<QByteArray> manifestBytes() const;
    void announceLanguage();
    void loadSettings();
    bool takeAndHandle();
    void handle(const QString& command);
    // Runs action on the main thread at each notification while this object lives.
    void observe(const QString& name, std::function<void(StandardModuleLaunch&)> action);

    QString m_moduleId;
    ModulePaths m_paths;
    std::optional<QByteArray> m_injectedManifestData;
    CommandHandler m_commandHandler;
    ModuleSettingsStore m_settingsStore;
    std::optional<ModuleManifest> m_manifest;
    SettingsMap m_settings;
    std::optional<ModulePrivateState> m_privateState;
    LanguageHandler m_onLanguage;
    SettingsHandler m_onSettings;
    CommandHandler m_onCommand;
};

} // namespace ovrel
