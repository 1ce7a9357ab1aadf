#include "OvrelModuleKitUI/ModuleApplication.h"

#include "OvrelModuleKit/launch/ModuleApplicationService.h"
#include "OvrelModuleKit/launch/ModuleStartupLog.h"
#include "OvrelModuleKit/launch/ModuleTerminationSignal.h"
#include "OvrelModuleKitUI/StandardModuleLaunch.h"

#include <QApplication>
#include <chrono>

namespace ovrel::ModuleApplication {

int exec(StandardModuleLaunch& launch) {
    // A module keeps running without windows: the hub shows its menu and
    // sends it commands while it runs.
    QApplication::setQuitOnLastWindowClosed(false);
    ModuleTerminationSignal::install();

    ModuleApplicationService service(launch.bundleIdentifier(),
                                     [&launch] { launch.handleReopen(); });
    if (service.registerOnSessionBus() ==
        ModuleApplicationService::Registration::heldByAnotherInstance) {
        service.activateOtherInstance();
        return 0;
    }

    ModuleStartupLog(launch.paths(), launch.moduleId(), ModuleStartupLog::kStandardMaxEntries)
        .record(std::chrono::system_clock::now());
    launch.launch();
    return QApplication::exec();
}

} // namespace ovrel::ModuleApplication
