#include "OvrelHub/store/FileTree.h"
#include "Platform/files/FileError.h"
#include "Platform/system/SystemLog.h"
#include "StoreTestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

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

    BundleSwap::discardReplaced(paths, "clock");
    EXPECT_FALSE(backupExists());

    // Without the module directory the backup is the only copy: it stays.
    crashAfterBackup();
    BundleSwap::discardReplaced(paths, "clock");
    EXPECT_TRUE(backupExists());
}
