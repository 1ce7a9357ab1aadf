#include "OvrelHub/modules/InstalledModules.h"
#include "InstallFixture.h"
#include "Platform/system/SystemLog.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

InstalledModule entry(const QString& id, const QString& appName, const QString& version = "1.0.0") {
    InstalledModule module;
    module.id = id;
    module.version = version;
    module.appName = appName;
    return module;
}

struct InstalledModulesTest : ::testing::Test {
    test::TempDir dir;
    ModulePaths paths{dir.file("Ovrel")};
    ModuleStateStore state{paths};
    InstalledModules installed{state};

    // Writes Modules/<id>/<appName> with a manifest and records it.
    void install(const QString& id, const QString& appName = {},
                 const std::optional<QByteArray>& manifest = std::nullopt) {
        test::TestBundle bundle;
        bundle.id = id;
        bundle.appName = appName.isEmpty() ? id + ".app" : appName;
        bundle.manifest = manifest;
        test::writeModuleBundle(paths.moduleDir(id), bundle.spec());
        state.update([&](ModulesState& s) { s.installed[id] = entry(id, bundle.appName); });
    }

    QStringList listedIds() const {
        QStringList ids;
        for (const InstalledPair& pair : installed.installedManifests())
            ids.append(pair.module.id);
        return ids;
    }
};

} // namespace

TEST_F(InstalledModulesTest, PairsComeSortedByModuleId) {
    install("b-app");
    install("a1");
    install("a");
    const QList<InstalledPair> pairs = installed.installedManifests();
    ASSERT_EQ(pairs.size(), 3);
    EXPECT_EQ(listedIds(), QStringList({"a", "a1", "b-app"}));
    for (const InstalledPair& pair : pairs) {
        EXPECT_EQ(pair.manifest.id(), pair.module.id);
        EXPECT_EQ(pair.module, state.load().installed.at(pair.module.id));
    }
}

TEST_F(InstalledModulesTest, ManifestOfOneModuleOrNone) {
    install("clock", "Clock.app");
    const std::optional<ModuleManifest> manifest = installed.manifest("clock");
    ASSERT_TRUE(manifest);
    EXPECT_EQ(manifest->id(), "clock");
    EXPECT_FALSE(installed.manifest("alarm"));
}

TEST_F(InstalledModulesTest, MissingBundleIsLoggedLeftOutAndDroppedByReconciliation) {
    install("alarm");
    install("clock", "Clock.app");
    test::writeFile(paths.settingsFile("clock"), R"({"volume":3})");
    state.update([](ModulesState& s) {
        s.autoUpdate = false;
        s.installed.at("clock").version = "2.1";
    });
    ASSERT_TRUE(QDir(paths.bundle("clock", "Clock.app")).removeRecursively());

    SystemLogCapture log;
    EXPECT_EQ(listedIds(), QStringList({"alarm"}));
    EXPECT_TRUE(
        log.contains("Ovrel: module clock (state ghi version 2.1) không đọc được manifest tại " +
                     paths.bundle("clock", "Clock.app") +
                     "/Contents/Resources/manifest.json — bundle có thể đã bị xoá hoặc hỏng"));
    EXPECT_TRUE(state.load().installed.contains("clock")); // listing never drops entries

    installed.reconcileInstalled();
    EXPECT_TRUE(log.contains("Ovrel: module clock có trong modules-state.json nhưng thư mục "
                             "bundle không còn trên đĩa — bỏ khỏi trạng thái đã cài (giữ nguyên "
                             "ModuleSettings)"));
    const ModulesState after = state.load();
    EXPECT_FALSE(after.installed.contains("clock"));
    EXPECT_TRUE(after.installed.contains("alarm"));
    EXPECT_FALSE(after.autoUpdate);
    EXPECT_EQ(test::readFile(paths.settingsFile("clock")), R"({"volume":3})");
}

TEST_F(InstalledModulesTest, ReconciliationWithNothingMissingLeavesTheFileAlone) {
    install("clock");
    const QByteArray before = test::readFile(paths.stateFile());
    SystemLogCapture log;
    installed.reconcileInstalled();
    EXPECT_TRUE(log.lines().isEmpty());
    EXPECT_EQ(test::readFile(paths.stateFile()), before);
}

TEST_F(InstalledModulesTest, ForeignManifestIsLoggedAndLeftOutWhileItsEntryStays) {
    install("clock", "Clock.app", test::manifestBytes("alarm"));
    install("timer", "Timer.app", QByteArray("{not json"));
    SystemLogCapture log;
    EXPECT_TRUE(listedIds().isEmpty());
    EXPECT_TRUE(log.contains("Ovrel: module clock có manifest nhưng không hợp lệ: idMismatch"));
    EXPECT_TRUE(log.contains("Ovrel: module timer có manifest nhưng không hợp lệ: invalidJSON"));
    installed.reconcileInstalled();
    EXPECT_TRUE(state.load().installed.contains("clock"));
    EXPECT_TRUE(state.load().installed.contains("timer"));
}

TEST_F(InstalledModulesTest, BundlesNoEntryNamesAreNeverListed) {
    install("clock");
    test::TestBundle stray;
    stray.id = "stray";
    test::writeModuleBundle(paths.moduleDir("stray"), stray.spec());
    test::TestBundle extra;
    extra.appName = "Other.app";
    test::writeModuleBundle(paths.moduleDir("clock"), extra.spec());
    const QList<InstalledPair> pairs = installed.installedManifests();
    ASSERT_EQ(pairs.size(), 1);
    EXPECT_EQ(pairs[0].module.appName, "clock.app");
    EXPECT_FALSE(installed.manifest("stray"));
}

TEST_F(InstalledModulesTest, EntriesThatWouldLeaveTheModuleDirectoryAreNeverFollowed) {
    // A readable manifest for "clock" where its hostile appName leads:
    // following the name would list the module.
    test::TestBundle outside;
    outside.id = "clock";
    outside.appName = "Evil.app";
    test::writeModuleBundle(paths.modulesDir(), outside.spec());
    state.update([](ModulesState& s) {
        s.installed["clock"] = entry("clock", "../Evil.app");
        s.installed["../Modules"] = entry("../Modules", "Evil.app");
        s.installed["timer"] = entry("timer", "Timer");
    });

    SystemLogCapture log;
    EXPECT_TRUE(listedIds().isEmpty());
    EXPECT_FALSE(installed.manifest("clock"));
    EXPECT_TRUE(log.contains(
        "Ovrel: module clock có id hoặc appName không hợp lệ trong modules-state.json — bỏ qua"));

    installed.reconcileInstalled();
    EXPECT_TRUE(state.load().installed.empty());
    EXPECT_TRUE(log.contains("Ovrel: module ../Modules có trong modules-state.json nhưng id hoặc "
                             "appName không hợp lệ — bỏ khỏi trạng thái đã cài (giữ nguyên "
                             "ModuleSettings)"));
    EXPECT_TRUE(QFileInfo::exists(paths.modulesDir() + "/Evil.app")); // nothing was removed
}

TEST_F(InstalledModulesTest, RecordsAreReportedUnderTheirKey) {
    install("clock");
    state.update([](ModulesState& s) { s.installed.at("clock").id = "alarm"; });
    const QList<InstalledPair> pairs = installed.installedManifests();
    ASSERT_EQ(pairs.size(), 1);
    EXPECT_EQ(pairs[0].module.id, "clock");
    EXPECT_EQ(pairs[0].manifest.id(), "clock");
}
