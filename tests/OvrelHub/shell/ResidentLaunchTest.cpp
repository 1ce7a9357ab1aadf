#include "../resident/FakeResidentControl.h"
#include "FakeWorkspace.h"
#include "InstallFixture.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/resident/ResidentModuleService.h"
#include "OvrelHub/shell/HubController.h"
#include "OvrelHub/shell/HubSettings.h"
#include "Platform/plist/PlistCodec.h"
#include "TestSupport.h"

#include <QPromise>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

// The launch work brings the agents in line with the installed modules, off
// the main thread, and says when it is done.
TEST(ResidentLaunchTest, LaunchRegistersResidentModulesAndRemovesOrphans) {
    test::TempDir dir;
    UserDefaults defaults{"vn.ovrel.lite", dir.path()};
    HubSettings settings{defaults, NotificationCenter::defaultCenter(),
                         [] { return AppLanguage::en; }};
    test::FakeWorkspace workspace;
    const ModulePaths paths(dir.file("root"));
    ModuleStateStore stateStore(paths);
    test::FakeResidentControl control;
    control.loaded = {"vn.ovrel.module.gone"};
    ResidentModuleService service(paths, dir.file("LaunchAgents"), control);
    // The agent of a module that is no longer installed.
    test::writeFile(service.plistFile("gone"), "x");

    InstalledModule module;
    module.id = "pulse";
    module.appName = "Pulse.app";
    const QList<InstalledPair> installed{
        {module, ModuleManifest::load(test::manifestBytes("pulse", "1.0.0", {{"mode", "resident"}}),
                                      "pulse")}};
    test::writeFile(paths.bundle("pulse", "Pulse.app") + "/Contents/Info.plist",
                    PlistCodec::toXml(QVariantMap{{"CFBundleExecutable", "Pulse"}}));

    HubController hub(nullptr, nullptr, [] {},
                      {settings,
                       workspace,
                       paths,
                       &stateStore,
                       [&] {
                           QPromise<QList<InstalledPair>> promise;
                           promise.start();
                           promise.addResult(installed);
                           promise.finish();
                           return promise.future();
                       },
                       {},
                       &service});
    QSignalSpy reconciled(&hub, &HubController::residentAgentsReconciled);
    hub.didFinishLaunching();
    ASSERT_TRUE(reconciled.wait(10000));
    EXPECT_EQ(control.loaded, QSet<QString>{"vn.ovrel.module.pulse"});
}
