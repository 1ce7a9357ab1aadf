// Plays a module in cross-process tests: observes one notification, reads the
// shared file it announces, prints what it found and exits.
//   module_notify_probe command <root> <id>   takes the inbox on the command notification
//   module_notify_probe host <root>           reads the language on "vn.ovrel.host"
//   module_notify_probe lease <root>          reads the input-passthrough lease
// Prints "ready" once observing, then one result line; exits 3 after 15 s of silence.
#include "OvrelModuleKit/inbox/ModuleHostState.h"
#include "OvrelModuleKit/inbox/ModuleInbox.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/lease/InputPassthrough.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTimer>
#include <cstdio>
#include <functional>

using namespace ovrel;

namespace {

void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void finish(const QString& line) {
    say(line);
    QCoreApplication::exit(0);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: module_notify_probe command|host|lease <root> [id]\n");
        return 2;
    }
    const QString mode = args[1];
    const ModulePaths paths(args[2]);
    const QString id = args.value(3);

    if (mode == QLatin1String("command")) {
        ModuleNotify::observe(ModuleNotify::commandName(id), [paths, id] {
            if (const auto command = ModuleInbox(paths, id).take(0))
                finish(QStringLiteral("command %1 %2")
                           .arg(command->command, command->argument.value_or("-")));
        });
    } else if (mode == QLatin1String("host")) {
        ModuleNotify::observe(ModuleNotify::hostName(), [paths] {
            finish(QStringLiteral("language ") + ModuleHostState::language(paths));
        });
    } else if (mode == QLatin1String("lease")) {
        ModuleNotify::observe(InputPassthrough::notificationName, [paths] {
            const auto lease = InputPassthrough::lease(paths);
            const bool active = InputPassthrough::isActive(paths, std::chrono::system_clock::now());
            finish(QStringLiteral("lease %1 %2")
                       .arg(lease ? lease->owner : QStringLiteral("-"),
                            active ? QStringLiteral("active") : QStringLiteral("inactive")));
        });
    } else {
        std::fprintf(stderr, "unknown mode\n");
        return 2;
    }

    // The bus handles one connection's messages in order: once this call is
    // answered, the match rule for the observation is in place.
    QDBusConnection::sessionBus().interface()->isServiceRegistered(
        QStringLiteral("org.freedesktop.DBus"));
    say(QStringLiteral("ready"));

    QTimer::singleShot(15000, [] {
        say(QStringLiteral("timeout"));
        QCoreApplication::exit(3);
    });
    return app.exec();
}
