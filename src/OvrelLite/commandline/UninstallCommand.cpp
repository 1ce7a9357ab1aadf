#include "OvrelLite/commandline/UninstallCommand.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/store/InstallError.h"
#include "OvrelHub/store/ModuleStore.h"
#include "OvrelLite/commandline/InstallFailureText.h"
#include "Platform/system/SystemLog.h"

#include <QFileInfo>

namespace ovrel {

namespace {

constexpr const char* kKeepSettings = "keep-settings";

CommandLineOutcome failed(const QString& id, const std::exception& error, AppLanguage language) {
    const auto* install = dynamic_cast<const InstallError*>(&error);
    SystemLog::write(QStringLiteral("Ovrel: gỡ module ") + id + QStringLiteral(" lỗi: ") +
                     (install ? install->description() : QString::fromUtf8(error.what())));
    return CommandLineOutcome::failure(ExitStatus::failure,
                                       id + QStringLiteral(": ") +
                                           InstallFailureText::forUninstall(error, language) +
                                           QLatin1Char('\n'));
}

// Neither a state entry nor anything on disk: a typo rather than an uninstall.
bool knownToTheHub(HubCommandContext& context, const QString& id) {
    if (context.state.load().installed.contains(id))
        return true;
    const ModulePaths& paths = context.state.paths();
    return QFileInfo::exists(paths.moduleDir(id)) ||
           QFileInfo::exists(paths.moduleDir(id) + QStringLiteral(".bak"));
}

} // namespace

HubCommand uninstallCommand() {
    HubCommand command;
    command.name = QStringLiteral("uninstall");
    command.synopsis = QStringLiteral("ID [--keep-settings]");
    command.summary = QStringLiteral("uninstall a module; --keep-settings keeps its settings");
    command.minArguments = 1;
    command.maxArguments = 1;
    command.flags = {QString::fromLatin1(kKeepSettings)};
    command.run = [](const CommandInvocation& invocation, HubCommandContext& context) {
        const QString id = invocation.arguments.first();
        const AppLanguage language = context.language();
        if (!ModulePaths::isValidModuleId(id))
            return QtFuture::makeReadyFuture(failed(id, InstallError::invalidId(), language));
        if (!knownToTheHub(context, id))
            return QtFuture::makeReadyFuture(CommandLineOutcome::failure(
                ExitStatus::failure, id + QStringLiteral(": ") +
                                         Loc::t(LocKey::appsNotInstalled, language) +
                                         QLatin1Char('\n')));
        const bool keepSettings = invocation.flags.contains(QString::fromLatin1(kKeepSettings));
        HubCommandContext* shared = &context;
        return context.store.uninstall(id, keepSettings)
            .then(context.mainThread,
                  [shared] {
                      if (shared->modulesChanged)
                          shared->modulesChanged();
                      return CommandLineOutcome::success();
                  })
            .onFailed(context.mainThread, [id, language](const std::exception& error) {
                return failed(id, error, language);
            });
    };
    return command;
}

} // namespace ovrel
