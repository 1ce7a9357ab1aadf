#include "OvrelHub/resident/ResidentSwitch.h"
#include "FakeResidentControl.h"
#include "InstallFixture.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/resident/ResidentAgentReconciliation.h"
#include "OvrelHub/resident/ResidentStatusCheck.h"
#include "OvrelModuleKit/launch/ModuleStartupLog.h"
#include "Platform/plist/PlistCodec.h"
#include "Platform/system/SystemLog.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace ovrel;
using std::chrono::seconds;

namespace {

// A modules root with installed entries whose bundles name an executable.
class ResidentSwitchTest : public ::testing::Test {
protected:
    void install(const QString& id, bool residentEnabled = true) {
        InstalledModule entry;
        entry.id = id;
        entry.version = "1.0";
        entry.appName = "M.app";
        entry.residentEnabled = residentEnabled;
        state.update([&](ModulesState& modules) { modules.installed.insert_or_assign(id, entry); });
        test::writeFile(paths.bundle(id, "M.app") + "/Contents/Info.plist",
                        PlistCodec::toXml(QVariantMap{{"CFBundleExecutable", "m"}}));
    }
    bool enabled(const QString& id) { return state.load().installed.at(id).residentEnabled; }
    static InstalledPair pair(const QString& id, ModuleMode mode, bool enabled = true) {
        InstalledModule module;
        module.id = id;
        module.appName = "M.app";
        module.residentEnabled = enabled;
        const QByteArray manifest = test::manifestBytes(
            id, "1.0.0", {{"mode", mode == ModuleMode::resident ? "resident" : "onDemand"}});
        return {module, ModuleManifest::load(manifest, id)};
    }

    test::TempDir dir;
    ModulePaths paths{dir.file("Ovrel")};
    ModuleStateStore state{paths};
    test::FakeResidentControl control;
    ResidentModuleService service{paths, dir.file("LaunchAgents"), control};
    ResidentSwitch residentSwitch{state, service};
};

} // namespace

TEST_F(ResidentSwitchTest, OnStoresTheChoiceAndRegistersTheInstalledBundle) {
    install("pulse", false);
    residentSwitch.set("pulse", true);
    EXPECT_TRUE(enabled("pulse"));
    EXPECT_TRUE(control.isLoaded("vn.ovrel.module.pulse"));
    EXPECT_TRUE(test::readFile(service.plistFile("pulse")).contains("Ovrel/Modules/pulse/M.app"));
    residentSwitch.set("pulse", false);
    EXPECT_FALSE(enabled("pulse"));
    EXPECT_FALSE(control.isLoaded("vn.ovrel.module.pulse"));
}

TEST_F(ResidentSwitchTest, AFailureIsLoggedAndTheChoiceStays) {
    install("pulse", false);
    control.failBootstrap = true;
    SystemLogCapture log;
    residentSwitch.set("pulse", true);
    EXPECT_TRUE(enabled("pulse"));
    EXPECT_TRUE(
        log.contains("Ovrel: đổi công tắc chạy nền cho module pulse thất bại: launchctlFailed(5)"));
}

TEST_F(ResidentSwitchTest, AModuleWithoutAnEntryIsOnlyUnregistered) {
    residentSwitch.set("ghost", true);
    EXPECT_EQ(control.calls, QStringList{"bootout vn.ovrel.module.ghost"});
    EXPECT_TRUE(state.load().installed.empty());
}

TEST_F(ResidentSwitchTest, StatusReadsTheAgentAndTheStartLogAndLogsALoopOncePerEpisode) {
    install("pulse");
    auto now = std::chrono::system_clock::now();
    ResidentStatusCheck check(state, service, [&] { return now; });
    EXPECT_EQ(check.status("pulse", ModuleMode::resident).text, "Không bật được chạy nền");
    EXPECT_TRUE(check.status("pulse", ModuleMode::resident).unhealthy);
    EXPECT_FALSE(check.status("pulse", ModuleMode::onDemand).text);

    residentSwitch.set("pulse", true);
    const ModuleStartupLog startups(paths, "pulse", ModuleStartupLog::kStandardMaxEntries);
    for (int i = 4; i > 0; --i)
        startups.record(now - seconds(10 * i));
    SystemLogCapture log;
    const ResidentStatus looping = check.status("pulse", ModuleMode::resident);
    EXPECT_EQ(looping.health, ResidentHealth::looping(4));
    EXPECT_TRUE(looping.unhealthy);
    check.status("pulse", ModuleMode::resident);
    EXPECT_EQ(log.lines().size(), 1) << "one line per episode, not per check";

    now += seconds(600); // the loop is over
    const ResidentStatus calm = check.status("pulse", ModuleMode::resident);
    EXPECT_EQ(calm.text, "Đang chạy nền");
    EXPECT_FALSE(calm.unhealthy);
    startups.record(now);
    startups.record(now);
    startups.record(now);
    startups.record(now);
    check.status("pulse", ModuleMode::resident);
    EXPECT_EQ(log.lines().size(), 2) << "a new episode is logged again";
}

TEST_F(ResidentSwitchTest, ReconciliationCarriesOutThePlanAndLogsEachChange) {
    install("pulse");
    install("clock");
    // An agent left by a module that is gone, and one for a module that no longer wants it.
    test::writeFile(service.plistFile("gone"), "x");
    control.loaded = {"vn.ovrel.module.clock", "vn.ovrel.module.gone"};
    test::writeFile(paths.bundle("broken", "M.app") + "/Contents/Info.plist", "not a plist");
    SystemLogCapture log;
    ResidentAgentReconciliation::run({pair("broken", ModuleMode::resident),
                                      pair("clock", ModuleMode::onDemand),
                                      pair("pulse", ModuleMode::resident)},
                                     service);
    EXPECT_EQ(log.lines(),
              (QStringList{"Ovrel: không bật được chạy nền cho module broken: noExecutable",
                           "Ovrel: đã tắt chạy nền cho module clock",
                           "Ovrel: đã tắt chạy nền cho module gone",
                           "Ovrel: đã bật chạy nền cho module pulse"}));
    EXPECT_FALSE(QFile::exists(service.plistFile("gone")));
    EXPECT_EQ(control.loaded, QSet<QString>{"vn.ovrel.module.pulse"});
}
