#pragma once

#include "OvrelHub/runner/BlockedLaunchAlert.h"
#include "OvrelHub/runner/ModuleCommandRef.h"
#include "OvrelHub/runner/ModuleDelivery.h"
#include "OvrelHub/runner/ModuleLaunchBlock.h"
#include "OvrelHub/runner/ModuleSendRefusal.h"
#include "OvrelHub/runner/VerifiedBundleCache.h"
#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace ovrel {

class ModuleStateStore;
class ModuleVerifying;
class Workspace;

// Opens modules and hands them commands. Each send checks that the module is
// installed, that its manifest does not ask for a newer system and that its
// signature holds (once per bundle stamp), leaves the command in the module's
// inbox and then starts the module, or, when it runs, notifies it and brings
// it forward. It never waits for the module and reports nothing back:
// refusals become an alert or a log line.
//
// The state store, verifier and workspace are borrowed and must outlive the
// runner. The workspace must find running modules by bundle identifier (the
// desktop workspace needs moduleBundleLocator of the modules directory).
class ModuleRunner final : public ModuleCommandSending {
public:
    using VersionSource = std::function<QString()>;
    using NotificationPoster = std::function<void(const QString& name)>;

    // Replaceable collaborators; an empty one takes its default.
    struct Hooks {
        VersionSource systemVersion;               // HostOS::currentVersion()
        BlockedLaunchAlert::Presenter showBlocked; // BlockedLaunchAlert::messageBoxPresenter()
        NotificationPoster postNotification;       // ModuleNotify::post
    };

    ModuleRunner(ModulePaths paths, ModuleStateStore& state, const ModuleVerifying& verifier,
                 Workspace& workspace, Hooks hooks = {});

    // Never throws. Meant for the main thread (a launch completes there), but
    // safe from any thread.
    void send(const QString& command, const std::optional<QString>& argument,
              const QString& moduleId) override;
    // send(), telling why the command was not handed over; none when it was
    // (the module was then started or notified; a start that fails later is
    // only logged).
    std::optional<ModuleSendRefusal> sendReporting(const QString& command,
                                                   const std::optional<QString>& argument,
                                                   const QString& moduleId);

    // Whether the installed bundle's signature holds, checked once per bundle
    // stamp in this process. False without a stamp (no main executable or no
    // sealed resource list), for an id or bundle name that is no plain path
    // component, and when the verifier throws; only passes are remembered.
    bool verifySigned(const QString& moduleId, const QString& appName);

    // Shows why the module was not opened, in the interface language.
    void showBlockedAlert(const QString& moduleId, const ModuleLaunchBlock& block) const;

    // "vn.ovrel.module." + id
    static QString bundleIdentifier(const QString& moduleId);
    static ModuleDelivery delivery(bool isRunning);

    // Whether the manifest forbids opening on system `current`. No bytes, or a
    // manifest that fails to load for any reason but its minMacOS, is no block:
    // the signature check still applies.
    static std::optional<ModuleLaunchBlock>
    launchBlock(const std::optional<QByteArray>& manifestData, const QString& moduleId,
                const QString& current);
    // The requirement when it is present and newer than `current`.
    static std::optional<QString> launchBlock(const std::optional<QString>& minMacOS,
                                              const QString& current);

    const ModulePaths& paths() const { return m_paths; }
    // How many bundle stamps passed so far.
    std::size_t verifiedCount() const { return m_verified.size(); }

private:
    // The bundle of an installed module, when id and bundle name cannot leave
    // the module's directory.
    std::optional<QString> installedBundle(const QString& moduleId, const QString& appName) const;
    // The log line when the inbox could not be written.
    std::optional<QString> writeInbox(const QString& command,
                                      const std::optional<QString>& argument,
                                      const QString& moduleId);
    void deliver(const QString& moduleId, const QString& bundle);

    ModulePaths m_paths;
    ModuleStateStore& m_state;
    const ModuleVerifying& m_verifier;
    Workspace& m_workspace;
    Hooks m_hooks;
    VerifiedBundleCache m_verified;
};

} // namespace ovrel
