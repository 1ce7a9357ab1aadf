#include "Platform/system/SystemLog.h"
#include "StoreTestSupport.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>

using namespace ovrel;
using test::InstallTestBase;

namespace {

struct CompleteInstallTest : InstallTestBase {};

} // namespace

TEST_F(CompleteInstallTest, FirstInstallMovesTheBundleInAndRecordsFirstInstallDefaults) {
    const QString staged = stage(version("1.2.0"));
    const ModuleManifest manifest = completion.complete("clock", staged, std::nullopt);
    EXPECT_EQ(manifest.id(), "clock");
    EXPECT_FALSE(QFileInfo::exists(staged));
    EXPECT_EQ(test::readFile(installedExecutable()), "\x7f"
                                                     "ELF clock 1.2.0");
    EXPECT_EQ(moduleDirEntries(), QStringList{"Clock.app"});

    InstalledModule expected;
    expected.id = "clock";
    expected.version = "1.2.0"; // the manifest's, without a catalog version
    expected.appName = "Clock.app";
    expected.residentEnabled = true;
    expected.quickAccessEnabled = false;
    EXPECT_EQ(state.load().installed, (std::map<QString, InstalledModule>{{"clock", expected}}));
    EXPECT_TRUE(state.load().autoUpdate);
}

TEST_F(CompleteInstallTest, CatalogVersionIsRecordedAndQuickAccessDefaultIsHonoured) {
    test::TestBundle bundle = version("1.2.0");
    bundle.extraManifestKeys = {{"quickAccessDefault", true}};
    install(bundle, QString("1.2.0-build7"));
    const InstalledModule entry = state.load().installed.at("clock");
    EXPECT_EQ(entry.version, "1.2.0-build7");
    EXPECT_TRUE(entry.quickAccessEnabled);
    EXPECT_TRUE(entry.residentEnabled);
}

TEST_F(CompleteInstallTest, UpdateKeepsTheUsersChoicesAndReplacesTheBundleCompletely) {
    install(version("1.0.0"));
    test::TestBundle alarm;
    alarm.id = "alarm";
    install(alarm);
    InstalledModule chosen;
    state.update([&](ModulesState& s) {
        InstalledModule& clock = s.installed.at("clock");
        clock.shortcutEnabled = true;
        clock.hotkeys.emplace("open", Hotkey(40, true, false, false, true));
        clock.clearedHotkeys = {"stopwatch"};
        clock.shortcutLinkName = "Clock";
        clock.residentEnabled = false;
        clock.quickAccessEnabled = true;
        chosen = clock;
        s.autoUpdate = false;
    });
    const InstalledModule alarmEntry = state.load().installed.at("alarm");

    install(version("2.0.0", "Clock 2.app"));
    const ModulesState after = state.load();
    InstalledModule expected = chosen;
    expected.version = "2.0.0";
    expected.appName = "Clock 2.app";
    EXPECT_EQ(after.installed.at("clock"), expected);
    EXPECT_EQ(after.installed.at("alarm"), alarmEntry);
    EXPECT_FALSE(after.autoUpdate);
    EXPECT_EQ(moduleDirEntries(), QStringList{"Clock 2.app"});
    EXPECT_EQ(test::readFile(installedExecutable("Clock 2.app")), "\x7f"
                                                                  "ELF clock 2.0.0");
    EXPECT_FALSE(backupExists());
}

TEST_F(CompleteInstallTest, FilesTheModuleKeepsBesideItsBundleSurviveAnUpdate) {
    install(version("1.0.0"));
    test::writeFile(paths.permissionsFile("clock"), R"({"camera":"granted"})");
    test::writeFile(paths.dynamicMenuFile("clock"), R"({"items":[]})");
    install(version("1.1.0"));
    EXPECT_EQ(moduleDirEntries(), QStringList({"Clock.app", "menu.json", "permissions.json"}));
    EXPECT_EQ(test::readFile(paths.permissionsFile("clock")), R"({"camera":"granted"})");
    EXPECT_EQ(test::readFile(installedExecutable()), "\x7f"
                                                     "ELF clock 1.1.0");
}

TEST_F(CompleteInstallTest, EveryRefusalBeforeTheSwapLeavesTheInstalledVersionUntouched) {
    install(version("1.0.0"));
    test::writeFile(paths.permissionsFile("clock"), "{}");
    const QByteArray stateBefore = test::readFile(paths.stateFile());
    const QByteArray executableBefore = test::readFile(installedExecutable());
    const SigningIdentity stranger = SigningIdentity::create("Stranger");

    struct Case {
        const char* name;
        std::function<QString()> bundle;
        InstallError expected;
    };
    const Case cases[] = {
        {"signed by another identity",
         [&] { return test::writeSignedBundle(dir.file("other"), version("2.0.0"), stranger); },
         InstallError::signatureRejected()},
        {"changed after signing",
         [&] {
             const QString bundle = stage(version("2.0.0"));
             test::writeFile(bundle + "/Contents/MacOS/clock", "patched");
             return bundle;
         },
         InstallError::signatureRejected()},
        {"unsigned",
         [&] { return test::writeModuleBundle(dir.file("unsigned"), version("2.0.0").spec()); },
         InstallError::signatureRejected()},
        {"no manifest",
         [&] {
             const QString bundle =
                 test::writeModuleBundle(dir.file("bare"), version("2.0.0").spec());
             QFile::remove(bundle + "/Contents/Resources/manifest.json");
             CodeSigner::sign(bundle, test::testIdentity());
             return bundle;
         },
         InstallError::badManifest(ManifestError(ManifestError::Kind::invalidJSON))},
        {"manifest of another module",
         [&] {
             test::TestBundle bundle = version("2.0.0");
             bundle.manifest = test::manifestBytes("alarm", "2.0.0");
             return stage(bundle);
         },
         InstallError::badManifest(ManifestError(ManifestError::Kind::idMismatch))},
        {"manifest not JSON",
         [&] {
             test::TestBundle bundle = version("2.0.0");
             bundle.manifest = QByteArray("{\"id\":");
             return stage(bundle);
         },
         InstallError::badManifest(ManifestError(ManifestError::Kind::invalidJSON))},
        {"system too old",
         [&] {
             test::TestBundle bundle = version("2.0.0");
             bundle.extraManifestKeys = {{"minMacOS", "14.6"}};
             return stage(bundle);
         },
         InstallError::macOSTooOld("14.6")},
        {"bundle name without .app", [&] { return stage(version("2.0.0", "Clock")); },
         InstallError::installFailed()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString bundle = c.bundle();
        EXPECT_EQ(failure("clock", bundle), c.expected);
        EXPECT_EQ(test::readFile(installedExecutable()), executableBefore);
        EXPECT_EQ(moduleDirEntries(), QStringList({"Clock.app", "permissions.json"}));
        EXPECT_EQ(test::readFile(paths.stateFile()), stateBefore);
        EXPECT_FALSE(backupExists());
        EXPECT_TRUE(QFileInfo::exists(bundle)); // staging material is the caller's to remove
    }
}

TEST_F(CompleteInstallTest, SystemExactlyAtTheRequiredVersionIsEnough) {
    test::TestBundle bundle = version("2.0.0");
    bundle.extraManifestKeys = {{"minMacOS", "14.5"}};
    EXPECT_EQ(install(bundle).minMacOS(), QString("14.5"));
}

TEST_F(CompleteInstallTest, InvalidIdIsRefusedBeforeAnythingIsRead) {
    const QString bundle = stage(version("1.0.0"));
    for (const QString& id : QStringList{"", "Clock", "../clock", "a/b", QString(33, 'a')})
        EXPECT_EQ(failure(id, bundle), InstallError::invalidId()) << id.toStdString();
    EXPECT_FALSE(QFileInfo::exists(paths.modulesDir()));
    EXPECT_FALSE(QFileInfo::exists(paths.stateFile()));
}

TEST_F(CompleteInstallTest, ResidentModuleGetsItsAgentUnlessTheUserSwitchedItOff) {
    test::TestBundle bundle = version("1.0.0");
    bundle.extraManifestKeys = {{"mode", "resident"}};
    install(bundle);
    EXPECT_EQ(resident.recorded(),
              QStringList{"register clock " + paths.bundle("clock", "Clock.app")});

    state.update([](ModulesState& s) { s.installed.at("clock").residentEnabled = false; });
    install(bundle);
    EXPECT_EQ(resident.recorded().size(), 1);

    install(version("1.0.0")); // on demand
    EXPECT_EQ(resident.recorded().size(), 1);
}

TEST_F(CompleteInstallTest, FailedAgentRegistrationIsLoggedAndTheInstallStands) {
    resident.failRegister = true;
    test::TestBundle bundle = version("1.0.0");
    bundle.extraManifestKeys = {{"mode", "resident"}};
    SystemLogCapture log;
    EXPECT_EQ(install(bundle).mode(), ModuleMode::resident);
    EXPECT_TRUE(log.contains("Ovrel: cài module clock xong nhưng không đăng ký được agent chạy "
                             "nền: bootstrap failed (5)"));
    EXPECT_TRUE(state.load().installed.contains("clock"));
    EXPECT_TRUE(QFileInfo::exists(installedExecutable()));
}
