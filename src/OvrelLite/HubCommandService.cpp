#include "OvrelLite/HubCommandService.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelHub/modules/AppModules.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelLite/LiteAppDelegate.h"
#include "OvrelLite/StatusMenuText.h"
#include "OvrelLite/commandline/HubCommandLine.h"
#include "Platform/desktop/SessionBusApplication.h"

#include <QCoreApplication>

namespace ovrel {

HubCommandService::HubCommandService(SessionBusApplication& bus, AppModules& modules,
                                     Workspace& workspace, LiteAppDelegate& delegate)
    : m_context{modules.store,
                modules.state,
                modules.runner,
                workspace,
                &delegate,
                [] { return HubLanguage::current(); },
                [] { postModulesChanged(); },
                [&delegate] { return statusMenuText(delegate); },
                &modules.catalog,
                &m_results} {
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                     &m_resultsOwner, [this] { m_results.finish(); });
    QObject* mainThread = &delegate;
    bus.setCommandLineHandler([this, mainThread](const QStringList& arguments,
                                                 const QString& workingDirectory,
                                                 const SessionBusApplication::Reply& reply,
                                                 const CommandLineProgressSink& progress) {
        HubCommandLine::Parsed parsed = HubCommandLine::parse(arguments, workingDirectory);
        if (parsed.kind != HubCommandLine::Parsed::Kind::command) {
            reply(HubCommandLine::usageFailure(QStringLiteral("the hub runs commands only")));
            return;
        }
        if (parsed.command->runs != HubCommand::Runs::throughHub) {
            reply(HubCommandLine::usageFailure(QStringLiteral("--") + parsed.command->name +
                                               QStringLiteral(" runs where it is typed")));
            return;
        }
        parsed.invocation.progress = progress;
        HubCommandLine::run(parsed, m_context).then(mainThread, reply);
    });
}

} // namespace ovrel
