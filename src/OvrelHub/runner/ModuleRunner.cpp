#include "OvrelHub/runner/ModuleRunner.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelConfig/VersionComparator.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/runner/ModuleRunnerLog.h"
#include "OvrelHub/signature/ModuleVerifying.h"
#include "OvrelModuleKit/inbox/ModuleInbox.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/json/OrderedJsonWriter.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "Platform/bundle/BundleInfo.h"
#include "Platform/bundle/BundleLocator.h"
#include "Platform/files/FileError.h"
#include "Platform/process/Workspace.h"
#include "Platform/system/HostOS.h"
#include "Platform/system/SystemLog.h"

#include <chrono>

namespace ovrel {

namespace {

ModuleRunner::Hooks withDefaults(ModuleRunner::Hooks hooks) {
    if (!hooks.systemVersion)
        hooks.systemVersion = [] { return HostOS::currentVersion(); };
    if (!hooks.showBlocked)
        hooks.showBlocked = BlockedLaunchAlert::messageBoxPresenter();
    if (!hooks.postNotification)
        hooks.postNotification = [](const QString& name) { ModuleNotify::post(name); };
    return hooks;
}

QString blockLogLine(const QString& moduleId, const ModuleLaunchBlock& block,
                     const QString& current) {
    switch (block.kind()) {
    case ModuleLaunchBlock::Kind::macOSTooOld:
        return ModuleRunnerLog::macOSTooOld(moduleId, block.shownValue(), current);
    case ModuleLaunchBlock::Kind::invalidMinMacOS:
        return ModuleRunnerLog::invalidMinMacOS(moduleId, block.shownValue());
    }
    return {};
}

} // namespace

ModuleRunner::ModuleRunner(ModulePaths paths, ModuleStateStore& state,
                           const ModuleVerifying& verifier, Workspace& workspace, Hooks hooks)
    : m_paths(std::move(paths)), m_state(state), m_verifier(verifier), m_workspace(workspace),
      m_hooks(withDefaults(std::move(hooks))) {}

QString ModuleRunner::bundleIdentifier(const QString& moduleId) {
    return QLatin1String(kModuleBundleIdentifierPrefix) + moduleId;
}

ModuleDelivery ModuleRunner::delivery(bool isRunning) {
    return isRunning ? ModuleDelivery::notifyRunning : ModuleDelivery::launch;
}

std::optional<QString> ModuleRunner::launchBlock(const std::optional<QString>& minMacOS,
                                                 const QString& current) {
    if (minMacOS && VersionComparator::isNewer(*minMacOS, current))
        return minMacOS;
    return std::nullopt;
}

std::optional<ModuleLaunchBlock>
ModuleRunner::launchBlock(const std::optional<QByteArray>& manifestData, const QString& moduleId,
                          const QString& current) {
    if (!manifestData)
        return std::nullopt;
    std::optional<QString> minMacOS;
    try {
        minMacOS = ModuleManifest::load(*manifestData, moduleId).minMacOS();
    } catch (const ManifestError& error) {
        if (error.kind() == ManifestError::Kind::invalidMinMacOS)
            return ModuleLaunchBlock::invalidMinMacOS(error.payload());
        return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (const std::optional<QString> required = launchBlock(minMacOS, current))
        return ModuleLaunchBlock::macOSTooOld(*required);
    return std::nullopt;
}

std::optional<QString> ModuleRunner::installedBundle(const QString& moduleId,
                                                     const QString& appName) const {
    // Both come from the state file: neither may climb out of the module's
    // directory or name it.
    if (!ModulePaths::isValidModuleId(moduleId) || !BundleInfo::isPlainFileName(appName))
        return std::nullopt;
    return m_paths.bundle(moduleId, appName);
}

void ModuleRunner::send(const QString& command, const std::optional<QString>& argument,
                        const QString& moduleId) {
    sendReporting(command, argument, moduleId);
}

std::optional<ModuleSendRefusal> ModuleRunner::sendReporting(const QString& command,
                                                             const std::optional<QString>& argument,
                                                             const QString& moduleId) {
    using Kind = ModuleSendRefusal::Kind;
    if (!ModulePaths::isValidModuleId(moduleId))
        return ModuleSendRefusal{Kind::notInstalled, std::nullopt, {}};
    const ModulesState state = m_state.load();
    const auto entry = state.installed.find(moduleId);
    if (entry == state.installed.end())
        return ModuleSendRefusal{Kind::notInstalled, std::nullopt, {}};
    const QString appName = entry->second.appName;
    const std::optional<QString> bundle = installedBundle(moduleId, appName);
    if (!bundle)
        return ModuleSendRefusal{Kind::notInstalled, std::nullopt, {}};

    const std::optional<QByteArray> manifest = ModuleManifest::readData(*bundle);
    const QString current = m_hooks.systemVersion();
    if (const std::optional<ModuleLaunchBlock> block = launchBlock(manifest, moduleId, current)) {
        const QString line = blockLogLine(moduleId, *block, current);
        SystemLog::write(line);
        showBlockedAlert(moduleId, *block);
        return ModuleSendRefusal{Kind::launchBlocked, block, line};
    }

    if (!verifySigned(moduleId, appName)) {
        const QString line = ModuleRunnerLog::signatureFailed(moduleId);
        SystemLog::write(line);
        return ModuleSendRefusal{Kind::signatureFailed, std::nullopt, line};
    }

    if (const std::optional<QString> line = writeInbox(command, argument, moduleId))
        return ModuleSendRefusal{Kind::inboxNotWritten, std::nullopt, *line};
    deliver(moduleId, *bundle);
    return std::nullopt;
}

std::optional<QString> ModuleRunner::writeInbox(const QString& command,
                                                const std::optional<QString>& argument,
                                                const QString& moduleId) {
    QString reason;
    try {
        ModuleInbox(m_paths, moduleId).write(command, argument, std::chrono::system_clock::now());
        return std::nullopt;
    } catch (const FileError& error) {
        reason = error.description();
    } catch (const JsonEncodingError& error) {
        reason = error.description();
    } catch (const std::exception& error) {
        reason = QString::fromUtf8(error.what());
    }
    const QString line = ModuleRunnerLog::inboxNotWritten(moduleId, reason);
    SystemLog::write(line);
    return line;
}

void ModuleRunner::deliver(const QString& moduleId, const QString& bundle) {
    const RunningApplications running = m_workspace.runningApplications(bundleIdentifier(moduleId));
    switch (delivery(!running.isEmpty())) {
    case ModuleDelivery::launch:
        // The module takes the inbox while it starts.
        m_workspace.openApplication(
            bundle, true,
            [moduleId](const std::shared_ptr<RunningApplication>&,
                       const std::optional<WorkspaceError>& error) {
                if (error)
                    SystemLog::write(ModuleRunnerLog::notOpened(moduleId, error->description()));
            });
        break;
    case ModuleDelivery::notifyRunning:
        m_hooks.postNotification(ModuleNotify::commandName(moduleId));
        if (const std::shared_ptr<RunningApplication>& first = running.first())
            first->activate();
        break;
    }
}

bool ModuleRunner::verifySigned(const QString& moduleId, const QString& appName) {
    const std::optional<QString> bundle = installedBundle(moduleId, appName);
    if (!bundle)
        return false;
    const std::optional<BundleStamp> stamp = BundleStamp::of(*bundle);
    if (!stamp)
        return false;
    if (m_verified.contains(*stamp))
        return true;
    // The check reads the whole bundle and runs without the lock, so two first
    // openings of one bundle may both check it.
    try {
        m_verifier.verify(*bundle, moduleId);
    } catch (...) {
        return false;
    }
    // Remember the pass only for the bundle that was checked: when it changed
    // while the check ran, the next opening checks again.
    if (BundleStamp::of(*bundle) == stamp)
        m_verified.insert(*stamp);
    return true;
}

void ModuleRunner::showBlockedAlert(const QString& moduleId, const ModuleLaunchBlock& block) const {
    m_hooks.showBlocked(BlockedLaunchAlert::texts(moduleId, block, HubLanguage::current()));
}

} // namespace ovrel
