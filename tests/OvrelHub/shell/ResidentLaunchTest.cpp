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
using namespace std::chrono_literals;

namespace {

// A hub whose store answers the installed-modules query when the test says
// so, with a resident "pulse" installed and the agent of a removed module
// still loaded.
class ResidentLaunchTest : public ::testing::Test {
protected:
    ResidentLaunchTest() {
        control.loaded = {"vn.ovrel.module.gone"};
        test::writeFile(service.plistFile("gone"), "x");
        InstalledModule module;
        module.id = "pulse";
        module.appName = "Pulse.app";
        installed = {{module, ModuleManifest::load(test::manifestBytes("pulse", "1.0.0",
                                                                       {{"mode", "resident"}}),
                                                   "pulse")}};
        test::writeFile(paths.bundle("pulse", "Pulse.app") + "/Contents/Info.plist",
                        PlistCodec::toXml(QVariantMap{{"CFBundleExecutable", "Pulse"}}));
    }

    std::unique_ptr<HubController> makeHub(std::chrono::milliseconds delay) {
        HubController::Collaborators collaborators{settings, workspace, paths, &stateStore,
                                                   [this] {
                                                       QPromise<QList<InstalledPair>> promise;
                                                       QFuture<QList<InstalledPair>> future =
                                                           promise.future();
                                                       answers.push_back(std::move(promise));
                                                       answers.back().start();
                                                       return future;
                                                   },
                                                   {},
                                                   &service};
        collaborators.backgroundWorkDelay = delay;
        return std::make_unique<HubController>(nullptr, nullptr, [] {}, collaborators);
    }

    // Answers every query made so far, with the modules or with a failure.
    void answerQueries(bool withModules) {
        for (QPromise<QList<InstalledPair>>& promise : answers) {
            if (withModules)
                promise.addResult(installed);
            promise.finish();
        }
        answers.clear();
    }

    test::TempDir dir;
    UserDefaults defaults{"vn.ovrel.lite", dir.path()};
    HubSettings settings{defaults, NotificationCenter::defaultCenter(),
                         [] { return AppLanguage::en; }};
    test::FakeWorkspace workspace;
    const ModulePaths paths{dir.file("root")};
    ModuleStateStore stateStore{paths};
    test::FakeResidentControl control;
    ResidentModuleService service{paths, dir.file("LaunchAgents"), control};
    QList<InstalledPair> installed;
    std::vector<QPromise<QList<InstalledPair>>> answers;
};

} // namespace

// The launch brings the agents in line with the installed modules, off the
// main thread, and says when it is done.
TEST_F(ResidentLaunchTest, LaunchRegistersResidentModulesAndRemovesOrphans) {
    auto hub = makeHub(0ms);
    QSignalSpy reconciled(hub.get(), &HubController::residentAgentsReconciled);
    hub->didFinishLaunching();
    answerQueries(true);
    // The reconciliation asks the store again once it is due.
    QTRY_VERIFY_WITH_TIMEOUT(!answers.empty(), 10000);
    answerQueries(true);
    ASSERT_TRUE(reconciled.wait(10000));
    EXPECT_EQ(control.loaded, QSet<QString>{"vn.ovrel.module.pulse"});
}

// Agents and the other background work wait until the first menu holds the
// modules, then start once, also when that first refresh failed.
TEST_F(ResidentLaunchTest, BackgroundWorkWaitsForTheFirstRefreshAndStartsOnce) {
    for (const bool refreshSucceeds : {true, false}) {
        SCOPED_TRACE(refreshSucceeds);
        auto hub = makeHub(0ms);
        QSignalSpy due(hub.get(), &HubController::backgroundLaunchWorkDue);
        QSignalSpy refreshed(hub.get(), &HubController::moduleModelRefreshed);
        hub->didFinishLaunching();
        QTest::qWait(50);
        EXPECT_EQ(due.count(), 0);
        EXPECT_EQ(control.loaded, QSet<QString>{"vn.ovrel.module.gone"});

        answerQueries(refreshSucceeds);
        ASSERT_TRUE(due.wait(10000));
        EXPECT_EQ(refreshed.count(), refreshSucceeds ? 1 : 0);
        // Later refreshes do not start it again.
        hub->refreshModuleMenu();
        answerQueries(true);
        QTest::qWait(50);
        EXPECT_EQ(due.count(), 1);
        answerQueries(false);
        control.loaded = {"vn.ovrel.module.gone"};
    }
}

// Quitting before the background work is due means it never starts.
TEST_F(ResidentLaunchTest, QuittingBeforeTheDelayStartsNoBackgroundWork) {
    auto hub = makeHub(200ms);
    QSignalSpy due(hub.get(), &HubController::backgroundLaunchWorkDue);
    QSignalSpy refreshed(hub.get(), &HubController::moduleModelRefreshed);
    hub->didFinishLaunching();
    answerQueries(true);
    ASSERT_TRUE(refreshed.wait(10000));
    hub->terminate();
    QTest::qWait(400);
    EXPECT_EQ(due.count(), 0);
    EXPECT_TRUE(answers.empty());
}
