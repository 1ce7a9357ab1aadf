// Plays a module built on the kit's standard launch, run from a bundle copy
// (<Name>.app/Contents/MacOS/launch_probe) so that it reads the bundle's
// manifest and Info.plist like a real module:
//   launch_probe <module id>
// Prints one line per callback: "language <code>", "settings k=v;k=v" (keys
// sorted), "command <name>", then "menu <application menu name>" and
// "launched" once the launch sequence has run and the notifications are observed. Ends with status
// 0 on SIGTERM.
#include "OvrelModuleKitUI/ModuleApplication.h"
#include "OvrelModuleKitUI/ModuleStandardMenu.h"
#include "OvrelModuleKitUI/ModuleWindow.h"
#include "OvrelModuleKitUI/StandardModuleLaunch.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <memory>

using namespace ovrel;

namespace {

void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString describe(const SettingValue& value) {
    switch (value.kind()) {
    case SettingValue::Kind::boolean:
        return *value.boolValue() ? QStringLiteral("true") : QStringLiteral("false");
    case SettingValue::Kind::integer:
        return QString::number(*value.intValue());
    case SettingValue::Kind::string:
        return QLatin1Char('"') + *value.stringValue() + QLatin1Char('"');
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (app.arguments().size() < 2) {
        std::fprintf(stderr, "usage: launch_probe <module id>\n");
        return 2;
    }
    std::unique_ptr<QMainWindow> window;
    StandardModuleLaunch launch(
        app.arguments().at(1), ModulePaths::defaultPaths(), std::nullopt,
        [](const QString& language) { say(QStringLiteral("language ") + language); },
        [](const SettingsMap& settings) {
            QStringList pairs;
            for (auto it = settings.cbegin(); it != settings.cend(); ++it)
                pairs.append(it.key() + QLatin1Char('=') + describe(it.value()));
            say(QStringLiteral("settings ") + pairs.join(QLatin1Char(';')));
        },
        [&window](const QString& command) {
            say(QStringLiteral("command ") + command);
            if (command != QLatin1String("open"))
                return;
            if (!window)
                window = ModuleWindow::make(QStringLiteral("Probe"), QSize(200, 100),
                                            QSize(100, 50), new QLabel(QStringLiteral("probe")));
            ModuleWindow::bringToFront(window.get());
        });

    // Runs in the event loop's first round, after the launch sequence. The
    // round trip to the bus makes sure the observations' match rules are in
    // place before the test is told to go on.
    QTimer::singleShot(0, [] {
        if (QDBusConnection::sessionBus().interface())
            QDBusConnection::sessionBus().interface()->isServiceRegistered(
                QStringLiteral("org.freedesktop.DBus"));
        say(QStringLiteral("menu ") + ModuleStandardMenu::applicationName());
        say(QStringLiteral("launched"));
    });
    return ModuleApplication::exec(launch);
}
