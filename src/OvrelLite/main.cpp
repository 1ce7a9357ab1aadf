#include "OvrelHub/modules/AppModules.h"
#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelLite/LiteAppDelegate.h"
#include "OvrelLite/LocalInstall.h"
#include "OvrelLite/StartupProbe.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/bundle/BundleLocator.h"
#include "Platform/process/Workspace.h"
#include "Platform/tray/MenuText.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

using namespace ovrel;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ovrel Lite"));
    QApplication::setApplicationVersion(QStringLiteral(OVREL_HUB_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(BuildIdentity::kLiteBundleIdentifier));
    // A tray program: closing its last window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    BuildIdentity::setBundleIdentifier(QString::fromLatin1(BuildIdentity::kLiteBundleIdentifier));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Ovrel Lite: the tray hub for Ovrel modules."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption printMenu(QStringLiteral("print-menu"),
                                       QStringLiteral("Print the status menu as text and exit."));
    const QCommandLineOption exitWhenReady(
        QStringLiteral("exit-when-ready"),
        QStringLiteral("Quit as soon as the status menu is ready (for start-up measurements)."));
    const QCommandLineOption exitWhenModulesShown(
        QStringLiteral("exit-when-modules-shown"),
        QStringLiteral("Quit once the status menu holds the installed modules (for start-up "
                       "measurements)."));
    const QCommandLineOption exitWhenMenuDrawn(
        QStringLiteral("exit-when-menu-drawn"),
        QStringLiteral("Open the status menu once it holds the installed modules and quit after "
                       "it was drawn (for start-up measurements)."));
    const QCommandLineOption install(
        QStringList{QStringLiteral("install")},
        QStringLiteral("Install a signed module bundle (.app directory) and exit."),
        QStringLiteral("bundle"));
    parser.addOptions({printMenu, exitWhenReady, exitWhenModulesShown, exitWhenMenuDrawn, install});
    parser.process(app);

    AppModules& modules = AppModules::shared();
    if (parser.isSet(install)) {
        int status = 0;
        for (const QString& bundle : parser.values(install) + parser.positionalArguments()) {
            const QString error = installBundleFromDisk(modules.store, modules.state, bundle);
            if (!error.isEmpty()) {
                std::fprintf(stderr, "ovrel-lite: %s\n", error.toUtf8().constData());
                status = 1;
            }
        }
        return status;
    }

    LiteAppDelegate delegate(HubController::Collaborators{
        HubSettings::shared(), DesktopWorkspace::shared(), modules.paths, &modules.state,
        [&modules] { return modules.store.installedManifests(); },
        [&modules]() -> ModuleCommandSending* { return &modules.runner; }});
    delegate.applicationWillFinishLaunching();

    if (parser.isSet(printMenu)) {
        // The menu as it stands once the installed modules are known.
        QEventLoop loop;
        QObject::connect(&delegate.hub(), &HubController::moduleModelRefreshed, &loop,
                         &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        delegate.hub().refreshModuleMenu();
        loop.exec();
        const QByteArray text = MenuText::fromModel(delegate.buildMenu()).toUtf8();
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
        return 0;
    }

    if (parser.isSet(exitWhenMenuDrawn))
        StartupProbe::arm(delegate, StartupProbe::Point::menuDrawn);
    else if (parser.isSet(exitWhenModulesShown))
        StartupProbe::arm(delegate, StartupProbe::Point::modulesShown);

    // The application's launch finishes once the event loop runs.
    QTimer::singleShot(0, &delegate, [&delegate, &parser, &exitWhenReady] {
        delegate.applicationDidFinishLaunching();
        if (parser.isSet(exitWhenReady))
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                     [&delegate] { delegate.applicationWillTerminate(); });
    return app.exec();
}
