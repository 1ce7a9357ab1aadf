#include "OvrelHub/store/StoreRecovery.h"
#include "OvrelHub/store/BundleSwap.h"
#include "OvrelHub/store/FileTree.h"
#include "OvrelHub/store/PendingInstall.h"
#include "Platform/system/SystemLog.h"
#include "StoreTestSupport.h"

#include <QDir>
#include <gtest/gtest.h>
#include <utime.h>

using namespace ovrel;
using test::InstallTestBase;
using test::TestBundle;

namespace {

struct StoreRecoveryTest : InstallTestBase {
    BundleSwap swap{paths, BundleMover::standard()};
    StoreRecovery recovery{state, verifier, swap};

    void installFirstVersion() {
        install(version("1.0.0"));
        test::writeFile(paths.startupLogFile("clock"), "[1700000000.5]");
    }
    QString backup() const { return paths.moduleDir("clock") + ".bak"; }
    InstalledModule entry() { return state.load().installed.at("clock"); }
    void setAge(const QString& path, qint64 seconds) const {
        const QDateTime when = QDateTime::currentDateTimeUtc().addSecs(-seconds);
        utimbuf times{when.toSecsSinceEpoch(), when.toSecsSinceEpoch()};
        ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &times), 0);
    }
};

} // namespace

TEST_F(StoreRecoveryTest, BackupWhoseModuleDirectoryHoldsNoBundleIsRestoredAtStart) {
    installFirstVersion();
    FileTree::rename(paths.moduleDir("clock"), backup());
    QDir().mkpath(paths.moduleDir("clock")); // created, bundle never arrived
    SystemLogCapture log;
    recovery.run();
    EXPECT_TRUE(log.contains("Ovrel: module clock — thấy clock.bak sót lại mà bundle đích mất; "
                             "khôi phục bản cũ trước khi cài"));
    EXPECT_EQ(moduleDirEntries(), QStringList({"Clock.app", "startups.json"}));
    EXPECT_FALSE(backupExists());
    EXPECT_EQ(entry().version, "1.0.0");
}

TEST_F(StoreRecoveryTest, PendingInstallIsRecordedOnlyWhenItsBundleArrived) {
    installFirstVersion();
    InstalledModule before = entry();
    before.quickAccessEnabled = true;
    state.update([&](ModulesState& s) { s.installed["clock"] = before; });

    // Killed after the move of an update that renamed the bundle.
    FileTree::rename(paths.moduleDir("clock"), backup());
    QDir().mkpath(paths.moduleDir("clock"));
    FileTree::rename(stage(version("2.0.0", "Clock 2.app")), paths.bundle("clock", "Clock 2.app"));
    PendingInstall{"clock", "Clock 2.app", "2.0.0", false}.write(paths);
    recovery.run();
    EXPECT_EQ(entry().appName, "Clock 2.app");
    EXPECT_EQ(entry().version, "2.0.0");
    EXPECT_TRUE(entry().quickAccessEnabled) << "the user's choices stay";
    EXPECT_EQ(moduleDirEntries(), QStringList({"Clock 2.app", "startups.json"}));
    EXPECT_FALSE(backupExists());

    // Killed before the move: the pending entry goes, the installed one stays.
    PendingInstall{"clock", "Clock 3.app", "3.0.0", false}.write(paths);
    recovery.run();
    EXPECT_EQ(entry().appName, "Clock 2.app");
    EXPECT_FALSE(QFileInfo::exists(PendingInstall::path(paths, "clock")));
}

TEST_F(StoreRecoveryTest, RenamedBundleThatVerifiesIsAdoptedAndOtherwiseLeftAlone) {
    installFirstVersion();
    // The state names Clock.app; the directory holds only "Clock 2.app".
    FileTree::remove(paths.bundle("clock", "Clock.app"));
    FileTree::rename(stage(version("2.0.0", "Clock 2.app")), paths.bundle("clock", "Clock 2.app"));
    SystemLogCapture log;
    recovery.run();
    EXPECT_EQ(entry().appName, "Clock 2.app");
    EXPECT_EQ(entry().version, "2.0.0");
    EXPECT_EQ(log.lines().size(), 1);

    // A bundle that does not verify is never adopted.
    test::writeFile(paths.bundle("clock", "Clock 2.app") + "/Contents/MacOS/clock", "tampered");
    state.update([](ModulesState& s) { s.installed["clock"].appName = "Gone.app"; });
    recovery.run();
    EXPECT_EQ(entry().appName, "Gone.app");

    // Two bundles: nothing to choose from.
    test::writeFile(paths.bundle("clock", "Clock 2.app") + "/Contents/MacOS/clock",
                    "\x7f"
                    "ELF clock 2.0.0");
    FileTree::rename(stage(version("3.0.0", "Clock 3.app")), paths.bundle("clock", "Clock 3.app"));
    recovery.run();
    EXPECT_EQ(entry().appName, "Gone.app");
}

TEST_F(StoreRecoveryTest, EntryOfAnUninstallCutOffAfterTheDirectoryWentIsDropped) {
    installFirstVersion();
    TestBundle pulse;
    pulse.id = "pulse";
    pulse.appName = "Pulse.app";
    install(pulse);
    FileTree::remove(paths.moduleDir("pulse"));
    FileTree::remove(paths.bundle("clock", "Clock.app")); // directory stays: left for the user
    recovery.run();
    EXPECT_EQ(state.load().installed.count("pulse"), 0u);
    EXPECT_EQ(state.load().installed.count("clock"), 1u);
}

TEST_F(StoreRecoveryTest, StagingIsEmptiedAndOnlyStaleTemporaryFilesGo) {
    installFirstVersion();
    test::writeFile(paths.stagingDir() + "/0b1c/Big.app/Contents/MacOS/big", "partial");
    const QString staleState = paths.root() + "/.modules-state.json.tmp-Ab12Cd";
    const QString staleModule = paths.moduleDir("clock") + "/.startups.json.tmp-Zz9Yy8";
    const QString fresh = paths.settingsDir() + "/.clock.json.tmp-Qq1Ww2";
    const QString lookalike = paths.root() + "/.notes.tmp-too-long";
    for (const QString& file : {staleState, staleModule, fresh, lookalike})
        test::writeFile(file, "x");
    setAge(staleState, StoreRecovery::kStaleAfterSeconds + 5);
    setAge(staleModule, StoreRecovery::kStaleAfterSeconds + 5);
    setAge(lookalike, StoreRecovery::kStaleAfterSeconds + 5);
    recovery.run();
    EXPECT_TRUE(
        QDir(paths.stagingDir()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_FALSE(QFileInfo::exists(staleState));
    EXPECT_FALSE(QFileInfo::exists(staleModule));
    EXPECT_TRUE(QFileInfo::exists(fresh)) << "may belong to a write in progress";
    EXPECT_TRUE(QFileInfo::exists(lookalike));
    EXPECT_EQ(moduleDirEntries(), QStringList({"Clock.app", "startups.json"}));
}
