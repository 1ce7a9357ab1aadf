#include "OvrelHub/store/BundleSwap.h"
#include "OvrelHub/store/FileTree.h"
#include "Platform/files/FileError.h"
#include "Platform/system/SystemLog.h"
#include "StoreTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ovrel;
using test::InstallTestBase;

namespace {

struct BundleSwapTest : InstallTestBase {
    // Installs 1.0.0 with a file the module keeps beside it.
    void installFirstVersion() {
        install(version("1.0.0"));
        test::writeFile(paths.startupLogFile("clock"), "[1700000000.5]");
        stateBefore = test::readFile(paths.stateFile());
    }
    void expectFirstVersionInPlace() const {
        EXPECT_EQ(test::readFile(installedExecutable()), "\x7f"
                                                         "ELF clock 1.0.0");
        EXPECT_EQ(test::readFile(paths.startupLogFile("clock")), "[1700000000.5]");
        EXPECT_EQ(moduleDirEntries(), QStringList({"Clock.app", "startups.json"}));
        EXPECT_EQ(test::readFile(paths.stateFile()), stateBefore);
        EXPECT_FALSE(backupExists());
    }
    // Simulates a process that died right after setting the old directory aside.
    void crashAfterBackup() const {
        FileTree::rename(paths.moduleDir("clock"), paths.moduleDir("clock") + ".bak");
    }

    QByteArray stateBefore;
};

[[noreturn]] void failMove(const QString& from, const QString&) {
    throw FileError(from, "Input/output error");
}

} // namespace

TEST_F(BundleSwapTest, FailingMoveRestoresThePreviousVersionExactly) {
    installFirstVersion();
    mover = failMove;
    const QString staged = stage(version("2.0.0"));
    EXPECT_EQ(failure("clock", staged), InstallError::installFailed());
    expectFirstVersionInPlace();
    EXPECT_TRUE(QFileInfo::exists(staged));
}

TEST_F(BundleSwapTest, MoveThatFailsHalfwayLeavesNoTraceOfTheNewVersion) {
    installFirstVersion();
    mover = [](const QString& from, const QString& to) {
        QDir().mkpath(to + "/Contents/MacOS");
        QFile::copy(from + "/Contents/MacOS/clock", to + "/Contents/MacOS/clock");
        failMove(from, to);
    };
    EXPECT_EQ(failure("clock", stage(version("2.0.0"))), InstallError::installFailed());
    expectFirstVersionInPlace();
}

TEST_F(BundleSwapTest, FailingMoveOfAFirstInstallLeavesNoModuleBehind) {
    mover = failMove;
    EXPECT_EQ(failure("clock", stage(version("1.0.0"))), InstallError::installFailed());
    EXPECT_FALSE(QFileInfo::exists(paths.moduleDir("clock")));
    EXPECT_FALSE(backupExists());
    EXPECT_TRUE(state.load().installed.empty());
}

TEST_F(BundleSwapTest, BackupLeftByACrashIsRestoredBeforeTheNextInstall) {
    installFirstVersion();
    crashAfterBackup();
    SystemLogCapture log;
    install(version("2.0.0"));
    EXPECT_TRUE(log.contains("Ovrel: module clock — thấy clock.bak sót lại mà bundle đích mất; "
                             "khôi phục bản cũ trước khi cài"));
    EXPECT_EQ(test::readFile(installedExecutable()), "\x7f"
                                                     "ELF clock 2.0.0");
    EXPECT_EQ(moduleDirEntries(), QStringList({"Clock.app", "startups.json"}));
    EXPECT_FALSE(backupExists());
    EXPECT_EQ(state.load().installed.at("clock").version, "2.0.0");
}

TEST_F(BundleSwapTest, RestoredBackupIsWhatAFailedMoveFallsBackTo) {
    installFirstVersion();
    crashAfterBackup();
    mover = failMove;
    EXPECT_EQ(failure("clock", stage(version("2.0.0"))), InstallError::installFailed());
    expectFirstVersionInPlace();
}

TEST_F(BundleSwapTest, BackupBesideAnIntactModuleIsDiscardedSilently) {
    installFirstVersion();
    test::writeFile(paths.moduleDir("clock") + ".bak/Old.app/Contents/MacOS/clock", "stale");
    SystemLogCapture log;
    install(version("2.0.0"));
    EXPECT_TRUE(log.lines().isEmpty());
    EXPECT_FALSE(backupExists());
    EXPECT_EQ(moduleDirEntries(), QStringList({"Clock.app", "startups.json"}));
    EXPECT_EQ(test::readFile(installedExecutable()), "\x7f"
                                                     "ELF clock 2.0.0");
}

TEST_F(BundleSwapTest, RestoreThatFailsTooIsLogged) {
    installFirstVersion();
    const QString backup = paths.moduleDir("clock") + ".bak";
    mover = [&](const QString& from, const QString& to) {
        FileTree::remove(backup); // the backup vanishes under the swap
        failMove(from, to);
    };
    SystemLogCapture log;
    EXPECT_EQ(failure("clock", stage(version("2.0.0"))), InstallError::installFailed());
    const QString prefix = "Ovrel: module clock — cài hỏng VÀ không khôi phục được bản cũ từ "
                           "clock.bak: " +
                           backup + ": ";
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].startsWith(prefix)) << log.lines()[0].toStdString();
    EXPECT_FALSE(QFileInfo::exists(paths.moduleDir("clock")));
}

TEST_F(BundleSwapTest, AReplacedBundleKeptForLaterGoesOnlyOnceTheNewOneIsInPlace) {
    installFirstVersion();
    const BundleSwap swap(paths, BundleMover::standard(), BundleSwap::Replaced::keepForDiscard);
    swap.swapIn("clock", stage(version("2.0.0")));
    EXPECT_EQ(test::readFile(installedExecutable()), "\x7f"
                                                     "ELF clock 2.0.0");
    EXPECT_EQ(moduleDirEntries(), QStringList({"Clock.app", "startups.json"}))
        << "the module's own files moved on before the backup waits";
    ASSERT_TRUE(backupExists());

    swap.settleLeftOverBackup("clock");
    EXPECT_FALSE(backupExists());
    EXPECT_EQ(test::readFile(installedExecutable()), "\x7f"
                                                     "ELF clock 2.0.0");
}

TEST_F(BundleSwapTest, AReplacedBackupIsSetAsideWholeAndABackupStillNeededIsRestored) {
    installFirstVersion();
    const BundleSwap swap(paths, BundleMover::standard(), BundleSwap::Replaced::keepForDiscard);
    swap.swapIn("clock", stage(version("2.0.0")));
    test::writeFile(paths.moduleDir("clock") + ".bak/menu.json", "{}"); // the module wrote late
    const QString aside = paths.stagingDir() + "/old.discard";
    EXPECT_EQ(swap.setAsideLeftOverBackup("clock", aside), aside);
    EXPECT_FALSE(backupExists());
    EXPECT_EQ(test::readFile(aside + "/Clock.app/Contents/MacOS/clock"), "\x7f"
                                                                         "ELF clock 1.0.0");
    EXPECT_EQ(moduleDirEntries(), QStringList({"Clock.app", "menu.json", "startups.json"}))
        << "the module's files stay with the module";
    EXPECT_EQ(swap.setAsideLeftOverBackup("clock", aside + "2"), std::nullopt) << "no backup";

    // Without a bundle in place the backup is the installed version.
    crashAfterBackup();
    EXPECT_EQ(swap.setAsideLeftOverBackup("clock", aside + "3"), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(aside + "3"));
    EXPECT_EQ(test::readFile(installedExecutable()), "\x7f"
                                                     "ELF clock 2.0.0");
}

TEST_F(BundleSwapTest, EmptyModuleDirectoryLeftByACrashIsNoInstalledVersion) {
    // Killed after the new module directory was created, before the bundle
    // moved in: the backup is still the only good copy.
    installFirstVersion();
    crashAfterBackup();
    QDir().mkpath(paths.moduleDir("clock"));
    mover = failMove;
    EXPECT_EQ(failure("clock", stage(version("2.0.0"))), InstallError::installFailed());
    expectFirstVersionInPlace();
}

TEST_F(BundleSwapTest, FilesWrittenWhileTheModuleWasSetAsideJoinTheRestoredVersion) {
    installFirstVersion();
    crashAfterBackup();
    test::writeFile(paths.inboxFile("clock"), R"({"command":"open"})");
    BundleSwap(paths, BundleMover::standard()).settleLeftOverBackup("clock");
    EXPECT_EQ(moduleDirEntries(), QStringList({"Clock.app", "inbox.json", "startups.json"}));
    EXPECT_FALSE(backupExists());
}

TEST_F(BundleSwapTest, BackupLeftDuringTheCarryOverGivesUpTheModuleFilesItStillHolds) {
    installFirstVersion();
    test::writeFile(paths.permissionsFile("clock"), "{}");
    // Killed while the module's files moved on: the new bundle and one file
    // are in place, the other file still waits in the backup.
    const QString backup = paths.moduleDir("clock") + ".bak";
    crashAfterBackup();
    QDir().mkpath(paths.moduleDir("clock"));
    FileTree::rename(stage(version("2.0.0", "Clock 2.app")), paths.bundle("clock", "Clock 2.app"));
    FileTree::rename(backup + "/permissions.json", paths.permissionsFile("clock"));
    BundleSwap(paths, BundleMover::standard()).settleLeftOverBackup("clock");
    EXPECT_EQ(moduleDirEntries(),
              QStringList({"Clock 2.app", "permissions.json", "startups.json"}));
    EXPECT_EQ(test::readFile(paths.startupLogFile("clock")), "[1700000000.5]");
    EXPECT_FALSE(backupExists());
}

TEST_F(BundleSwapTest, InstalledFilesKeepNoGroupOrWorldWriteBit) {
    const QString staged = stage(version("1.0.0"));
    for (const QString& path : {staged, staged + "/Contents", staged + "/Contents/MacOS/clock",
                                staged + "/Contents/Info.plist"})
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0777), 0);
    completion.complete("clock", staged, std::nullopt);
    for (const char* relative :
         {"", "/Contents", "/Contents/MacOS/clock", "/Contents/Info.plist"}) {
        struct stat status {};
        ASSERT_EQ(::lstat(QFile::encodeName(paths.bundle("clock", "Clock.app") + QString(relative))
                              .constData(),
                          &status),
                  0);
        EXPECT_EQ(status.st_mode & 0777, 0755u) << relative;
    }
    struct stat modules {};
    ASSERT_EQ(::stat(QFile::encodeName(paths.modulesDir()).constData(), &modules), 0);
    EXPECT_EQ(modules.st_mode & 0777, 0700u);
}

TEST_F(BundleSwapTest, BundleNamesWithControlCharactersAreRefused) {
    for (const char* name : {"Clock\n.app", "Clock\t.app", "C\x7f.app"}) {
        EXPECT_EQ(failure("clock", stage(version("1.0.0", name))), InstallError::installFailed())
            << name;
    }
    EXPECT_FALSE(QFileInfo::exists(paths.moduleDir("clock")));
}
