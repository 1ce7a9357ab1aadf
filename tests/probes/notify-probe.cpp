// Plays the other process in notification tests.
//   notify-probe post NAME      posts NAME and exits once the bus has it
//   notify-probe observe NAME   prints "ready", then "observed NAME" per post, until stdin closes
#include "Platform/notify/DarwinNotify.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

using namespace ovrel;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    const QString name = args[2];
    if (args[1] == QLatin1String("post")) {
        DarwinNotify::post(name);
        // A round trip to the bus daemon guarantees the signal left before we exit.
        QDBusConnection::sessionBus().interface()->isServiceRegistered(
            QStringLiteral("org.freedesktop.DBus"));
        return 0;
    }
    if (args[1] != QLatin1String("observe"))
        return 2;
    auto token = DarwinNotify::observe(name, [name] {
        std::printf("observed %s\n", name.toUtf8().constData());
        std::fflush(stdout);
    });
    if (!token->isConnected())
        return 3;
    // The match rule is in place once a later call to the daemon has answered.
    QDBusConnection::sessionBus().interface()->isServiceRegistered(
        QStringLiteral("org.freedesktop.DBus"));
    std::printf("ready\n");
    std::fflush(stdout);
    QSocketNotifier stdinClosed(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&stdinClosed, &QSocketNotifier::activated, &app, [&] {
        char buffer[64];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    return app.exec();
}
