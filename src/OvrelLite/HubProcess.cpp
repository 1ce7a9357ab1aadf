#include "OvrelLite/HubProcess.h"

#include "OvrelHub/account/AccountServices.h"
#include "OvrelHub/modules/AppModules.h"
#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/Trace.h"
#include "OvrelHub/shortcuts/ShortcutManager.h"
#include "OvrelLite/CommandLineProcess.h"
#include "OvrelLite/HubCommandService.h"
#include "OvrelLite/LiteAppDelegate.h"
#include "OvrelLite/ModuleAutoUpdate.h"
#include "OvrelLite/OvrelLiteHubWiring.h"
#include "OvrelLite/StartupProbe.h"
#include "Platform/desktop/RunningInstance.h"
#include "Platform/desktop/SessionBusApplication.h"
#include "Platform/process/Workspace.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

namespace ovrel {

namespace {

// Another hub runs: it gets the URLs, or is asked to come forward.
int handOver(const QList<QUrl>& urls) {
    const RunningInstance hub(QString::fromLatin1(BuildIdentity::kLiteBundleIdentifier));
    QString error;
    const bool handed = urls.isEmpty() ? hub.activate(&error) : hub.open(urls, &error);
    if (handed)
        return ExitStatus::success;
    printOutcome(CommandLineOutcome::failure(
        ExitStatus::failure, QStringLiteral("ovrel-lite: the running hub did not answer: ") +
                                 error + QLatin1Char('\n')));
    return ExitStatus::failure;
}

} // namespace

int runHubProcess(int& argc, char** argv, const HubCommandLine::Parsed& parsed) {
    QApplication application(argc, argv);
    nameApplication();
    // A tray program: closing its last window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    SessionBusApplication instance(QString::fromLatin1(BuildIdentity::kLiteBundleIdentifier));
    switch (instance.claim()) {
    case SessionBusApplication::Claim::heldByAnotherInstance:
        return handOver(parsed.urls);
    case SessionBusApplication::Claim::unavailable:
        // Without a session bus nothing could reach a hub anyway: run alone.
        Trace::force(QStringLiteral("không có session bus: hub chạy mà không kiểm tra bản đang "
                                    "chạy khác"));
        break;
    case SessionBusApplication::Claim::owned:
        break;
    }

    AppModules& modules = AppModules::shared();
    LiteAppDelegate delegate(HubController::Collaborators{
        HubSettings::shared(), DesktopWorkspace::shared(), modules.paths, &modules.state,
        [&modules] { return modules.store.installedManifests(); },
        [&modules]() -> ModuleCommandSending* { return &modules.runner; }, modules.resident.get(),
        // Every check for a new hub release also updates the installed modules.
        moduleAutoUpdateCheck(modules, DesktopWorkspace::shared()), &instance,
        modules.residentSwitch.get(), modules.residentStatus.get(), &ShortcutManager::shared(),
        OvrelLiteHubWiring::moduleSettingsChangedHandler()});
    delegate.applicationWillFinishLaunching();
    delegate.windows()->attachStore(modules);
    delegate.windows()->attachAccount(AccountServices::shared());
    if (parsed.exitWhenMenuDrawn)
        StartupProbe::arm(delegate, StartupProbe::Point::menuDrawn);
    else if (parsed.exitWhenModulesShown)
        StartupProbe::arm(delegate, StartupProbe::Point::modulesShown);
    const HubCommandService commands(instance, modules, DesktopWorkspace::shared(), delegate);
    instance.setActivateHandler([&delegate] { delegate.hub().openSettings(); });

    // The application's launch finishes once the event loop runs; URLs the
    // hub was started with are handled after that, as later ones are.
    QTimer::singleShot(0, &delegate, [&delegate, &parsed] {
        delegate.applicationDidFinishLaunching();
        for (const QUrl& url : parsed.urls)
            delegate.hub().handleGetURL(url);
        if (!parsed.openSettings.isEmpty() &&
            !delegate.windows()->openSettings(parsed.openSettings))
            std::fprintf(stderr, "ovrel-lite: no such settings pane: %s\n",
                         qPrintable(parsed.openSettings));
        if (parsed.whatsNew)
            delegate.windows()->showWhatsNewOfFeed();
        if (parsed.exitWhenReady)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &delegate,
                     [&delegate] { delegate.applicationWillTerminate(); });
    return application.exec();
}

} // namespace ovrel
