#include "OvrelHub/store/ModuleStore.h"
#include "FakeWorkspace.h"
#include "OvrelHub/store/FileTree.h"
#include "Platform/system/SystemLog.h"
#include "StoreTestSupport.h"

#include <QDir>
#include <QThread>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

using namespace ovrel;

namespace {

// Records which bundle moves ran, where and whether they overlapped.
struct MoveLog {
    std::mutex lock;
    QStringList events;
    QList<QThread*> threads;
    int inside = 0;
    bool overlapped = false;

    BundleMoving mover() {
        return [this](const QString& from, const QString& to) {
            const QString id = QFileInfo(QFileInfo(to).path()).fileName();
            {
                const std::lock_guard guard(lock);
                events.append("enter " + id);
                threads.append(QThread::currentThread());
                overlapped = overlapped || inside > 0;
                ++inside;
            }
            // Long enough for a second operation to start, were it allowed to.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            BundleMover::move(from, to);
            const std::lock_guard guard(lock);
            --inside;
            events.append("leave " + id);
        };
    }
};

// Notes whether the module's directory was still there when it was asked to quit.
class WatchedInstance : public test::FakeRunningApplication {
public:
    WatchedInstance(QString moduleDir)
        : FakeRunningApplication(42), m_moduleDir(std::move(moduleDir)) {}
    bool terminate() override {
        sawModuleDirectory = QFileInfo::exists(m_moduleDir);
        return FakeRunningApplication::terminate();
    }
    bool sawModuleDirectory = false;

private:
    QString m_moduleDir;
};

struct ModuleStoreTest : test::InstallTestBase {
    test::FakeWorkspace workspace;
    MoveLog moves;
    ModuleStore store{{.state = state,
                       .verifier = verifier,
                       .workspace = workspace,
                       .resident = &resident,
                       .moveBundle = moves.mover(),
                       .macOSVersion = [] { return QString("14.5.0"); }}};

    QString picked(const test::TestBundle& bundle, const QString& folder = "Downloads") {
        return test::writeSignedBundle(dir.file(folder), bundle, test::testIdentity());
    }
    test::TestBundle module(const QString& id) {
        test::TestBundle bundle = version("1.0.0");
        bundle.id = id;
        return bundle;
    }
    QStringList stagingEntries() const {
        return QDir(paths.stagingDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
    std::optional<InstallError> installFailure(const QString& id, const QString& bundle) {
        try {
            test::await(store.installLocal(id, bundle));
        } catch (const InstallError& error) {
            return error;
        }
        return std::nullopt;
    }
};

} // namespace

TEST_F(ModuleStoreTest, InstallFromFileCopiesThePickThroughStaging) {
    const QString bundle = picked(version("1.3.0"));
    const QByteArray executable = test::readFile(bundle + "/Contents/MacOS/clock");

    const ModuleManifest manifest = test::await(store.installLocal("clock", bundle));
    EXPECT_EQ(manifest.version(), "1.3.0");
    EXPECT_EQ(test::readFile(bundle + "/Contents/MacOS/clock"), executable); // still there
    EXPECT_EQ(test::readFile(installedExecutable()), executable);
    EXPECT_EQ(state.load().installed.at("clock").version, "1.3.0");
    EXPECT_EQ(state.load().installed.at("clock").appName, "Clock.app");
    EXPECT_TRUE(stagingEntries().isEmpty());
    EXPECT_EQ(moves.events, QStringList({"enter clock", "leave clock"}));
}

TEST_F(ModuleStoreTest, InstallFromFileFollowsAPickedLinkButKeepsThePickedName) {
    const QString bundle = picked(version("1.0.0"), "real");
    QDir().mkpath(dir.file("links"));
    ASSERT_TRUE(QFile::link(bundle, dir.file("links/Clock.app")));
    test::await(store.installLocal("clock", dir.file("links/Clock.app")));
    EXPECT_FALSE(QFileInfo(paths.bundle("clock", "Clock.app")).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(installedExecutable()));
}

TEST_F(ModuleStoreTest, FailedInstallFromFileRemovesItsStagingAndKeepsThePick) {
    test::TestBundle foreign = version("1.0.0");
    foreign.manifest = test::manifestBytes("alarm");
    const QString bundle = picked(foreign);
    EXPECT_EQ(installFailure("clock", bundle),
              InstallError::badManifest(ManifestError(ManifestError::Kind::idMismatch)));
    EXPECT_TRUE(stagingEntries().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(bundle + "/Contents/Resources/manifest.json"));
    EXPECT_FALSE(QFileInfo::exists(paths.moduleDir("clock")));

    EXPECT_EQ(installFailure("clock", dir.file("Downloads/Missing.app")),
              InstallError::installFailed());
    EXPECT_EQ(installFailure("Clock", bundle), InstallError::invalidId());
    EXPECT_TRUE(stagingEntries().isEmpty());
    EXPECT_TRUE(resident.recorded().isEmpty());
}

TEST_F(ModuleStoreTest, InstallOverAnInstalledModuleStopsItsAgentFirst) {
    test::await(store.installLocal("clock", picked(version("1.0.0"), "v1")));
    EXPECT_TRUE(resident.recorded().isEmpty()); // nothing to stop on a first install
    resident.failUnregister = true;             // and a failure to stop is no reason to fail
    test::await(store.installLocal("clock", picked(version("1.1.0"), "v2")));
    EXPECT_EQ(resident.recorded(), QStringList{"unregister clock"});
    EXPECT_EQ(state.load().installed.at("clock").version, "1.1.0");
    // The replaced bundle is removed after the install returned, before the
    // store is idle again.
    store.waitUntilIdle();
    EXPECT_FALSE(backupExists("clock"));
    EXPECT_EQ(test::readFile(paths.bundle("clock", "Clock.app") + "/Contents/MacOS/clock"),
              "\x7f"
              "ELF clock 1.1.0");
}

TEST_F(ModuleStoreTest, OperationsRunOneAtATimeOnTheWorkerInSubmissionOrder) {
    const QString clock = picked(module("clock"), "a");
    const QString alarm = picked(module("alarm"), "b");
    QFuture<ModuleManifest> first = store.installLocal("clock", clock);
    QFuture<ModuleManifest> second = store.installLocal("alarm", alarm);
    QFuture<QList<InstalledPair>> listed = store.installedManifests();

    const QList<InstalledPair> pairs = test::await(listed);
    EXPECT_TRUE(first.isFinished());
    EXPECT_TRUE(second.isFinished());
    EXPECT_EQ(moves.events,
              QStringList({"enter clock", "leave clock", "enter alarm", "leave alarm"}));
    EXPECT_FALSE(moves.overlapped);
    ASSERT_EQ(moves.threads.size(), 2);
    EXPECT_NE(moves.threads[0], QThread::currentThread());
    ASSERT_EQ(pairs.size(), 2); // the query ran after both installs
    EXPECT_EQ(pairs[0].module.id, "alarm");
    EXPECT_EQ(pairs[1].module.id, "clock");
}

TEST_F(ModuleStoreTest, QueriesAnswerFromTheStateFile) {
    test::await(store.installLocal("clock", picked(version("1.0.0"))));
    EXPECT_EQ(test::await(store.manifest("clock"))->id(), "clock");
    EXPECT_FALSE(test::await(store.manifest("alarm")));
    ASSERT_TRUE(FileTree::remove(paths.moduleDir("clock")));
    test::await(store.reconcileInstalled());
    EXPECT_TRUE(state.load().installed.empty());
}

TEST_F(ModuleStoreTest, FailureReachesAContinuationOnTheMainThread) {
    QObject context;
    std::optional<InstallError> caught;
    QThread* thread = nullptr;
    auto handled = store.uninstall("../clock", true).onFailed(&context, [&](const InstallError& e) {
        caught = e;
        thread = QThread::currentThread();
    });
    test::await(handled);
    EXPECT_EQ(caught, InstallError::invalidId());
    EXPECT_EQ(thread, QThread::currentThread());
}

TEST_F(ModuleStoreTest, UninstallRemovesTheModuleAndItsEntryAndKeepsSettingsWhenAsked) {
    test::await(store.installLocal("clock", picked(module("clock"), "a")));
    test::await(store.installLocal("alarm", picked(module("alarm"), "b")));
    state.update([](ModulesState& s) { s.autoUpdate = false; });
    test::writeFile(paths.settingsFile("clock"), "{}");
    test::writeFile(paths.settingsFile("alarm"), "{}");
    test::writeFile(paths.moduleDir("clock") + ".bak/Clock.app/Contents/MacOS/clock", "old");

    test::await(store.uninstall("clock", true));
    EXPECT_FALSE(FileTree::exists(paths.moduleDir("clock")));
    EXPECT_FALSE(backupExists("clock"));
    EXPECT_TRUE(QFileInfo::exists(paths.settingsFile("clock")));
    ModulesState after = state.load();
    EXPECT_FALSE(after.installed.contains("clock"));
    EXPECT_TRUE(after.installed.contains("alarm"));
    EXPECT_FALSE(after.autoUpdate);

    test::await(store.uninstall("alarm", false));
    EXPECT_FALSE(QFileInfo::exists(paths.settingsFile("alarm")));
    EXPECT_TRUE(state.load().installed.empty());
    EXPECT_EQ(resident.recorded(), QStringList({"unregister clock", "unregister alarm"}));

    test::await(store.uninstall("alarm", false)); // nothing left to remove is fine
}

TEST_F(ModuleStoreTest, UninstallRefusesAnInvalidIdAndTouchesNothing) {
    test::await(store.installLocal("clock", picked(version("1.0.0"))));
    test::writeFile(paths.settingsFile("clock"), "{}");
    const QByteArray stateBefore = test::readFile(paths.stateFile());
    for (const QString& id : QStringList{"", "..", "../Modules/clock", "Clock"}) {
        EXPECT_THROW(test::await(store.uninstall(id, false)), InstallError) << id.toStdString();
    }
    EXPECT_EQ(test::readFile(paths.stateFile()), stateBefore);
    EXPECT_TRUE(QFileInfo::exists(installedExecutable()));
    EXPECT_TRUE(QFileInfo::exists(paths.settingsFile("clock")));
    EXPECT_TRUE(resident.recorded().isEmpty());
}

TEST_F(ModuleStoreTest, UninstallEndsRunningInstancesBeforeDeletingTheBundle) {
    test::await(store.installLocal("clock", picked(version("1.0.0"))));
    auto instance = std::make_shared<WatchedInstance>(paths.moduleDir("clock"));
    workspace.running["vn.ovrel.module.clock"].append(instance);
    SystemLogCapture log;
    test::await(store.uninstall("clock", true));
    EXPECT_EQ(instance->terminateRequests, 1);
    EXPECT_TRUE(instance->sawModuleDirectory);
    EXPECT_TRUE(
        log.contains("Ovrel: gỡ module clock — 1 tiến trình đang chạy, gửi terminate lịch sự"));
    EXPECT_FALSE(FileTree::exists(paths.moduleDir("clock")));
}
