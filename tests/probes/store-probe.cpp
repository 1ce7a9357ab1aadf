// Plays a second process that installs, uninstalls or starts up over a
// modules root, for the cross-process and fault-injection tests.
//   store-probe ROOT LEAFHASH install ID BUNDLE [TIMES]   installs the bundle TIMES times
//   store-probe ROOT LEAFHASH uninstall ID
//   store-probe ROOT LEAFHASH recover                     what the hub does first at start-up
// Exit status 0 on success, 1 when an operation failed, 2 on bad arguments.
// OVREL_CRASH_AT names a step at which the process kills itself.
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/signature/ModuleSignatureVerifier.h"
#include "OvrelHub/store/ModuleStore.h"
#include "Platform/process/Workspace.h"

#include <QCoreApplication>
#include <cstdio>
#include <exception>

using namespace ovrel;

namespace {

template <class T> bool finish(QFuture<T> future) {
    // The store hands work to the main thread (ending running instances):
    // keep its event loop turning while waiting.
    while (!future.isFinished())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    try {
        future.waitForFinished();
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "store-probe: %s\n", error.what());
        return false;
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    const ModulePaths paths(args[1]);
    ModuleStateStore state(paths);
    const ModuleSignatureVerifier verifier(QStringList{args[2]});
    DesktopWorkspace workspace;
    ModuleStore store({.state = state, .verifier = verifier, .workspace = workspace});
    const QString command = args[3];

    if (command == QLatin1String("install") && args.size() >= 6) {
        const int times = args.size() > 6 ? args[6].toInt() : 1;
        for (int i = 0; i < times; ++i) {
            if (!finish(store.installLocal(args[4], args[5])))
                return 1;
        }
        return 0;
    }
    if (command == QLatin1String("uninstall") && args.size() == 5)
        return finish(store.uninstall(args[4], true)) ? 0 : 1;
    if (command == QLatin1String("recover"))
        return finish(store.recoverInterruptedWork()) ? 0 : 1;
    return 2;
}
