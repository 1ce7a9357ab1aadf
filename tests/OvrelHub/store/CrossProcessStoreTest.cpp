// Installs, updates and uninstalls in other processes: two of them racing,
// and one killed at every step, followed by what the hub does at start-up.
#include "OvrelHub/store/BundleSwap.h"
#include "OvrelHub/store/FileTree.h"
#include "OvrelHub/store/StagingLock.h"
#include "StoreTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <iostream>

using namespace ovrel;
using test::InstallTestBase;
using test::TestBundle;
using test::testIdentity;

namespace {

struct CrossProcessStoreTest : InstallTestBase {
    // Runs store-probe to its end; the exit status, or -SIGNAL when killed.
    int probe(const QStringList& arguments, const QString& crashAt = {}) const {
        QProcess process;
        configure(process, arguments, crashAt);
        process.start();
        process.waitForFinished(120000);
        return outcome(process);
    }
    void configure(QProcess& process, const QStringList& arguments, const QString& crashAt) const {
        process.setProgram(test::probePath("store-probe"));
        process.setArguments(QStringList{paths.root(), testIdentity().leafHash()} + arguments);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!crashAt.isEmpty())
            environment.insert("OVREL_CRASH_AT", crashAt);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    static int outcome(const QProcess& process) {
        if (process.exitStatus() == QProcess::CrashExit)
            return -9; // the only way a probe dies here
        return process.exitCode();
    }

    // Two processes run their installs (pairs of id and bundle) at the same time.
    void installAtOnce(const QStringList& first, const QStringList& second) const {
        QProcess processes[2];
        configure(processes[0], QStringList{"install"} + first, {});
        configure(processes[1], QStringList{"install"} + second, {});
        for (QProcess& process : processes)
            process.start();
        for (QProcess& process : processes) {
            ASSERT_TRUE(process.waitForFinished(120000));
            EXPECT_EQ(outcome(process), 0);
        }
    }
    // Installs of `count` modules named prefix1, prefix2, ...
    QStringList modules(const QString& prefix, int count) {
        QStringList installs;
        for (int i = 1; i <= count; ++i) {
            const QString id = prefix + QString::number(i);
            installs << id << bundleFor(id, "1.0.0", id + ".app");
        }
        return installs;
    }

    QString bundleFor(const QString& id, const QString& versionText, const QString& appName) {
        TestBundle bundle = version(versionText, appName);
        bundle.id = id;
        bundle.executableBytes = "\x7f"
                                 "ELF " +
                                 id.toUtf8() + " " + versionText.toUtf8();
        return stage(bundle);
    }

    // Which version of clock is installed, after checking that the state and
    // the disk tell one complete story: "none", or the recorded version.
    QString installedClock() {
        EXPECT_FALSE(backupExists());
        EXPECT_TRUE(QDir(paths.stagingDir())
                        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                        .isEmpty());
        const ModulesState now = state.load();
        const QStringList bundles = BundleSwap::bundlesIn(paths.moduleDir("clock"));
        const auto entry = now.installed.find("clock");
        if (entry == now.installed.end()) {
            EXPECT_TRUE(bundles.isEmpty()) << bundles.join(", ").toStdString();
            return "none";
        }
        EXPECT_EQ(bundles, QStringList{entry->second.appName});
        const QString bundle = paths.bundle("clock", entry->second.appName);
        EXPECT_NO_THROW(verifier.verify(bundle, "clock")) << "a complete, signed bundle";
        const auto manifest =
            ModuleManifest::load(ModuleManifest::readData(bundle).value(), "clock");
        EXPECT_EQ(manifest.version(), entry->second.version);
        return entry->second.version;
    }
};

} // namespace

TEST_F(CrossProcessStoreTest, TwoProcessesInstallingAtOnceLoseNothing) {
    // Every install adds an entry of its own, so a lost update stays lost.
    constexpr int kModules = 15;
    installAtOnce(modules("a", kModules), modules("b", kModules));
    const ModulesState now = state.load();
    EXPECT_EQ(now.installed.size(), 2u * kModules);
    for (const auto& [id, entry] : now.installed)
        EXPECT_EQ(BundleSwap::bundlesIn(paths.moduleDir(id)), QStringList{entry.appName});
}

TEST_F(CrossProcessStoreTest, TwoProcessesInstallingOneModuleLeaveOneConsistentVersion) {
    const QString one = bundleFor("clock", "1.0.0", "Clock.app");
    const QString two = bundleFor("clock", "2.0.0", "Clock 2.app");
    QStringList first, second;
    for (int i = 0; i < 15; ++i) {
        first << "clock" << one;
        second << "clock" << two;
    }
    installAtOnce(first, second);
    const QString version = installedClock();
    EXPECT_TRUE(version == "1.0.0" || version == "2.0.0") << version.toStdString();
}

TEST_F(CrossProcessStoreTest, KilledAtAnyStepStartUpLeavesOneCompleteVersion) {
    const QStringList steps{"swap.previousSetAside",   "swap.pendingWritten",
                            "swap.moduleDirCreated",   "swap.bundleMovedIn",
                            "swap.oneFileCarriedOver", "swap.filesCarriedOver",
                            "complete.recorded",       "swap.backupSetAside",
                            "discard.started"};
    const QStringList uninstallSteps{"uninstall.instancesEnded", "uninstall.directoryRemoved",
                                     "uninstall.settingsRemoved"};
    const QString one = bundleFor("clock", "1.0.0", "Clock.app");
    const QString two = bundleFor("clock", "2.0.0", "Clock 2.app");
    const auto reset = [&] { FileTree::remove(paths.root()); };
    const auto installOne = [&] {
        ASSERT_EQ(probe({"install", "clock", one}), 0);
        test::writeFile(paths.startupLogFile("clock"), "[1700000000.5]");
        test::writeFile(paths.permissionsFile("clock"), R"({"inputMonitoring":"granted"})");
    };
    const auto ownFilesSurvive = [&] {
        return test::readFile(paths.startupLogFile("clock")) == "[1700000000.5]" &&
               test::readFile(paths.permissionsFile("clock")) == R"({"inputMonitoring":"granted"})";
    };
    std::cout << "step x operation -> outcome (killed | ran to the end)\n";
    const auto report = [](const QString& operation, const QString& step, int status,
                           const QString& result) {
        std::cout << "  " << operation.toStdString() << " @ " << step.toStdString() << ": "
                  << (status == -9 ? "killed" : "not reached") << " -> " << result.toStdString()
                  << "\n";
    };

    for (const QString& step : steps) {
        reset();
        const int status = probe({"install", "clock", one}, step);
        ASSERT_EQ(probe({"recover"}), 0);
        const QString result = installedClock();
        report("install", step, status, result);
        EXPECT_EQ(result, status == -9 && steps.indexOf(step) < steps.indexOf("swap.bundleMovedIn")
                              ? "none"
                              : "1.0.0")
            << step.toStdString();
    }
    for (const QString& step : steps) {
        reset();
        installOne();
        const int status = probe({"install", "clock", two}, step);
        EXPECT_EQ(status, -9) << step.toStdString() << " is a step of every update";
        ASSERT_EQ(probe({"recover"}), 0);
        const QString result = installedClock();
        report("update", step, status, result);
        EXPECT_EQ(result,
                  steps.indexOf(step) < steps.indexOf("swap.bundleMovedIn") ? "1.0.0" : "2.0.0")
            << step.toStdString();
        EXPECT_TRUE(ownFilesSurvive()) << step.toStdString();
        // Nothing of the replaced version is left anywhere.
        EXPECT_FALSE(QFileInfo::exists(BundleSwap::backupDir(paths, "clock"))) << step.toStdString();
        EXPECT_TRUE(QDir(paths.stagingDir())
                        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                        .isEmpty())
            << step.toStdString();
    }
    for (const QString& step : uninstallSteps) {
        reset();
        installOne();
        const int status = probe({"uninstall", "clock"}, step);
        EXPECT_EQ(status, -9) << step.toStdString();
        ASSERT_EQ(probe({"recover"}), 0);
        const QString result = installedClock();
        report("uninstall", step, status, result);
        EXPECT_EQ(result, step == "uninstall.instancesEnded" ? "1.0.0" : "none")
            << step.toStdString();
        if (result != "none") {
            EXPECT_TRUE(ownFilesSurvive());
        }
    }
}

TEST_F(CrossProcessStoreTest, StartUpElsewhereLeavesTheStagingEntriesInUseAlone) {
    const QString staging = paths.stagingDir();
    QDir().mkpath(staging);
    // As a download in this process holds its archive while another starts up.
    std::optional<StagingLock> downloading = StagingLock::acquire(staging + "/5f0e.zip");
    test::writeFile(staging + "/5f0e.zip", "half an archive");
    test::writeFile(staging + "/0b1c/Big.app/Contents/MacOS/big", "partial"); // a killed attempt
    test::writeFile(StagingLock::lockFileOf(staging + "/9a9a.zip"), "");      // its holder died
    const auto entries = [&] {
        return QDir(staging).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                       QDir::Name);
    };

    EXPECT_EQ(probe({"recover"}), 0);
    EXPECT_EQ(entries(), QStringList({"5f0e.zip", "5f0e.zip.lock"}));
    EXPECT_TRUE(test::readFile(staging + "/5f0e.zip") == "half an archive");

    downloading.reset();
    EXPECT_EQ(entries(), QStringList({"5f0e.zip"})) << "its holder removes the lock file";
    EXPECT_EQ(probe({"recover"}), 0);
    EXPECT_TRUE(entries().isEmpty()) << "left over once nobody holds it";
}
