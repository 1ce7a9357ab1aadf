#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelLite/LiteAppDelegate.h"
#include "OvrelModuleKit/ModulePaths.h"
#include "Platform/BundleLocator.h"
#include "Platform/MenuText.h"
#include "Platform/Workspace.h"

#include <QApplication>
#include <QCommandLineParser>
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
    parser.addOptions({printMenu, exitWhenReady});
    parser.process(app);

    const ModulePaths& paths = ModulePaths::defaultPaths();
    DesktopWorkspace::shared().setBundleLocator(moduleBundleLocator(paths.modulesDir()));
    LiteAppDelegate delegate(
        HubController::Collaborators{HubSettings::shared(), DesktopWorkspace::shared(), paths});
    delegate.applicationWillFinishLaunching();

    if (parser.isSet(printMenu)) {
        const QByteArray text = MenuText::fromModel(delegate.buildMenu()).toUtf8();
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
        return 0;
    }

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
