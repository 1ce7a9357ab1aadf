#include "OvrelHub/store/ModuleUpdater.h"
#include "CatalogServiceFixture.h"
#include "Platform/system/SystemLog.h"

namespace ovrel::test {
namespace {

struct ModuleUpdaterTest : CatalogInstallBase {
    int modulesChanged = 0;
    SystemLogCapture log;

    static TestBundle module(const QString& id, const QString& version, bool resident = false,
                             const QString& minHostVersion = "0.1.0") {
        TestBundle bundle;
        bundle.id = id;
        bundle.version = version;
        bundle.appName = id + ".app";
        bundle.executableBytes = "\x7f"
                                 "ELF " +
                                 id.toUtf8() + " " + version.toUtf8();
        QJsonObject extra{{"minHostVersion", minHostVersion}};
        if (resident)
            extra.insert("mode", "resident");
        bundle.extraManifestKeys = extra;
        return bundle;
    }
    void installPublished(const QString& id) {
        const CatalogEntry entry = fetchEntry(id);
        await(store->install(id, *entry.latest, catalog().downloadURL(id, "0.1.0")));
    }
    void runUpdater() {
        const ModuleCatalogClient client = catalog();
        await(ModuleUpdater::run({client, *store, state, workspace,
                                  [] { return QStringLiteral("14.0"); },
                                  [this] { ++modulesChanged; }}));
    }
    void markRunning(const QString& id) {
        workspace.running["vn.ovrel.module." + id].append(
            std::make_shared<FakeRunningApplication>(4242, "vn.ovrel.module." + id));
    }
    bool catalogFailureLogged() const {
        for (const QString& line : log.lines())
            if (line.startsWith("Ovrel: tải danh mục module thất bại: "))
                return true;
        return false;
    }
};

TEST_F(ModuleUpdaterTest, UpdatesClosedAndResidentModulesAndDefersOpenOnes) {
    publish(module("clock", "1.0.0"));
    publish(module("pulse", "1.0.0", true));
    publish(module("notes", "1.0.0"));
    startService();
    installPublished("clock");
    installPublished("pulse");
    installPublished("notes");
    publish(module("clock", "1.1.0"));
    publish(module("pulse", "1.1.0", true));
    publish(module("notes", "1.1.0", false, "99.0")); // needs a newer hub
    markRunning("clock");
    markRunning("pulse");

    runUpdater();
    EXPECT_EQ(installedVersion("clock"), "1.0.0"); // open in front of the user
    EXPECT_EQ(installedVersion("pulse"), "1.1.0"); // resident: updated at once
    EXPECT_EQ(installedVersion("notes"), "1.0.0"); // incompatible
    EXPECT_EQ(modulesChanged, 1);

    workspace.running.clear(); // clock has quit
    runUpdater();
    EXPECT_EQ(installedVersion("clock"), "1.1.0");
    EXPECT_EQ(modulesChanged, 2);
}

TEST_F(ModuleUpdaterTest, WithoutAutoUpdateOrModulesTheCatalogIsNotAsked) {
    startService({"--fail-status", "500"}); // every request would fail and be logged
    runUpdater();
    EXPECT_FALSE(catalogFailureLogged());

    state.update([](ModulesState& s) {
        InstalledModule clock;
        clock.id = "clock";
        clock.version = "1.0.0";
        clock.appName = "clock.app";
        s.installed.insert_or_assign("clock", clock);
        s.autoUpdate = false;
    });
    runUpdater();
    EXPECT_FALSE(catalogFailureLogged());

    state.update([](ModulesState& s) { s.autoUpdate = true; });
    runUpdater();
    EXPECT_TRUE(log.contains("Ovrel: tải danh mục module thất bại: serverError(500)"));
}

TEST_F(ModuleUpdaterTest, AFailedUpdateIsLoggedAndTheRunGoesOn) {
    publish(module("clock", "1.0.0"));
    publish(module("pulse", "1.0.0"));
    startService();
    installPublished("clock");
    installPublished("pulse");
    publish(module("pulse", "1.1.0"));
    // clock's new archive is not what its manifest claims: the signature fails.
    publish(module("clock", "1.1.0"));
    writeZip(catalogDir + "/clock.zip",
             {ZipEntry::file("clock.app/Contents/Resources/manifest.json",
                             manifestBytes("clock", "1.1.0"))});

    runUpdater();
    EXPECT_TRUE(log.contains("Ovrel: tự cập nhật module clock thất bại: signatureRejected"));
    EXPECT_EQ(installedVersion("clock"), "1.0.0");
    EXPECT_EQ(installedVersion("pulse"), "1.1.0");
}

TEST(ModuleUpdaterDecide, FirstMatchWins) {
    const ModuleAction update = ModuleAction::update("1.0", "1.1");
    EXPECT_EQ(ModuleUpdater::decide(ModuleAction::upToDate(), false, true, ModuleMode::onDemand),
              UpdateDecisionForModule::skip("không có bản cập nhật cho module đã cài"));
    EXPECT_EQ(ModuleUpdater::decide(update, false, false, ModuleMode::onDemand),
              UpdateDecisionForModule::skip("người dùng tắt tự cập nhật"));
    EXPECT_EQ(ModuleUpdater::decide(update, true, true, ModuleMode::onDemand),
              UpdateDecisionForModule::deferUntilClosed());
    EXPECT_EQ(ModuleUpdater::decide(update, true, true, ModuleMode::resident),
              UpdateDecisionForModule::installNow());
    EXPECT_EQ(ModuleUpdater::decide(update, true, false, ModuleMode::onDemand),
              UpdateDecisionForModule::installNow());
}

} // namespace
} // namespace ovrel::test
