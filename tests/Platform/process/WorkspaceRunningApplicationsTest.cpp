#include "Platform/process/LinuxRunningApplication.h"
#include "Platform/process/ProcessStat.h"
#include "Platform/process/Workspace.h"
#include "ProbeBundle.h"

#include <QDBusConnection>
#include <QDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ovrel;

namespace {

class WorkspaceRunningApplications : public ::testing::Test {
protected:
    void TearDown() override {
        for (const auto& application : started)
            application->forceTerminate();
    }

    // Starts the bundle and waits until the program is on the bus ("ready":
    // owning its name; "second": an earlier instance owns it).
    std::shared_ptr<RunningApplication> start(const test::ProbeBundle& bundle,
                                              const QByteArray& state = "ready ") {
        const test::OpenOutcome outcome = test::openAndWait(workspace, bundle.path);
        if (!outcome.application)
            return nullptr;
        started.push_back(outcome.application);
        if (!bundle.waitForRecord(state + QByteArray::number(outcome.application->pid())))
            return nullptr;
        return outcome.application;
    }

    QList<qint64> runningPids(const QString& identifier) {
        QList<qint64> pids;
        for (const auto& application : workspace.runningApplications(identifier))
            pids.append(application->pid());
        return pids;
    }

    bool waitUntilNotListed(const QString& identifier) {
        return QTest::qWaitFor([&] { return runningPids(identifier).isEmpty(); }, 15000);
    }

    test::TempDir temp;
    QString modulesDir = temp.file(QStringLiteral("Modules"));
    DesktopWorkspace workspace{moduleBundleLocator(modulesDir)};
    std::vector<std::shared_ptr<RunningApplication>> started;
};

bool haveBus() {
    return QDBusConnection::sessionBus().isConnected();
}

void moveFolder(const QString& from, const QString& to) {
    ASSERT_TRUE(QDir().rename(from, to)) << from.toStdString();
}

} // namespace

TEST_F(WorkspaceRunningApplications, FindsTheModuleProcessesAndNoOthers) {
    if (!haveBus())
        GTEST_SKIP() << "the probe needs a session bus";
    const auto clock = test::ProbeBundle::make(modulesDir, test::uniqueModuleId("clock"));
    const auto pulse = test::ProbeBundle::make(modulesDir, test::uniqueModuleId("pulse"));
    EXPECT_TRUE(workspace.runningApplications(clock.identifier()).isEmpty());

    const auto clockApp = start(clock);
    const auto pulseApp = start(pulse);
    ASSERT_TRUE(clockApp && pulseApp);

    const RunningApplications found = workspace.runningApplications(clock.identifier());
    ASSERT_EQ(found.size(), 1) << "neither the other module nor this test";
    EXPECT_EQ(found[0]->pid(), clockApp->pid());
    EXPECT_EQ(found[0]->bundleIdentifier(), clock.identifier());
    EXPECT_EQ(found[0]->bundlePath(), clock.path);
    EXPECT_EQ(found[0]->executablePath(), clock.executable());
    EXPECT_EQ(runningPids(pulse.identifier()), QList<qint64>{pulseApp->pid()});
    EXPECT_TRUE(workspace.runningApplications(QStringLiteral("vn.ovrel.lite")).isEmpty());

    // A second instance is listed after the first.
    const auto second = start(clock, "second ");
    ASSERT_TRUE(second);
    EXPECT_EQ(runningPids(clock.identifier()), (QList<qint64>{clockApp->pid(), second->pid()}));
}

TEST_F(WorkspaceRunningApplications, ActivateReachesTheModuleOnItsBusName) {
    if (!haveBus())
        GTEST_SKIP() << "no session bus";
    // A leading digit and "-" exercise both rules of the bus-name mapping.
    const auto bundle = test::ProbeBundle::make(modulesDir, test::uniqueModuleId("2fa"));
    const auto application = start(bundle);
    ASSERT_TRUE(application);

    const auto listed = workspace.runningApplications(bundle.identifier());
    ASSERT_EQ(listed.size(), 1);
    EXPECT_TRUE(listed[0]->activate());
    EXPECT_TRUE(bundle.waitForRecord("activate 0")) << "Activate with empty platform data";
    EXPECT_TRUE(application->activate());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return bundle.recordLines().count("activate 0") == 2; }, 15000));
}

TEST_F(WorkspaceRunningApplications, TerminateEndsTheModuleAndItIsNoLongerListed) {
    if (!haveBus())
        GTEST_SKIP() << "the probe needs a session bus";
    const auto bundle = test::ProbeBundle::make(modulesDir, test::uniqueModuleId("quit"));
    ASSERT_TRUE(start(bundle));
    const auto listed = workspace.runningApplications(bundle.identifier());
    ASSERT_EQ(listed.size(), 1);
    const auto& application = listed[0];

    EXPECT_TRUE(application->terminate());
    EXPECT_TRUE(QTest::qWaitFor([&] { return application->isTerminated(); }, 15000));
    EXPECT_TRUE(waitUntilNotListed(bundle.identifier()));
    EXPECT_FALSE(application->terminate()) << "nothing left to signal";
    EXPECT_FALSE(application->forceTerminate());
    EXPECT_FALSE(application->activate());
}

TEST_F(WorkspaceRunningApplications, ForceTerminateEndsAModuleThatIgnoresTerminate) {
    if (!haveBus())
        GTEST_SKIP() << "the probe needs a session bus";
    const auto bundle =
        test::ProbeBundle::make(modulesDir, test::uniqueModuleId("stubborn"), /*ignoresTerm*/ true);
    const auto application = start(bundle);
    ASSERT_TRUE(application);

    // An ignored signal is dropped when sent, so the answer is final at once.
    EXPECT_TRUE(application->terminate());
    EXPECT_FALSE(application->isTerminated());
    EXPECT_EQ(runningPids(bundle.identifier()), QList<qint64>{application->pid()});

    EXPECT_TRUE(application->forceTerminate());
    EXPECT_TRUE(QTest::qWaitFor([&] { return application->isTerminated(); }, 15000));
    EXPECT_TRUE(waitUntilNotListed(bundle.identifier()));
}

TEST_F(WorkspaceRunningApplications, HandleByStartTimeAloneActsAsWell) {
    if (!haveBus())
        GTEST_SKIP() << "the probe needs a session bus";
    const auto bundle = test::ProbeBundle::make(modulesDir, test::uniqueModuleId("oldkernel"),
                                                /*ignoresTerm*/ true);
    const auto started = start(bundle);
    ASSERT_TRUE(started);
    const auto stat = ProcessStat::read(QStringLiteral("/proc"), started->pid());
    ASSERT_TRUE(stat.has_value());
    using Hold = LinuxRunningApplication::Hold;
    const LinuxRunningApplication stale(started->pid(), stat->startTime + 1, bundle.identifier(),
                                        bundle.path, bundle.executable(), Hold::startTimeOnly);
    EXPECT_TRUE(stale.isTerminated()) << "another process under the same number";
    LinuxRunningApplication application(started->pid(), stat->startTime, bundle.identifier(),
                                        bundle.path, bundle.executable(), Hold::startTimeOnly);
    EXPECT_FALSE(application.isTerminated());
    EXPECT_TRUE(application.activate());
    EXPECT_TRUE(bundle.waitForRecord("activate 0"));
    EXPECT_TRUE(application.terminate());
    EXPECT_FALSE(application.isTerminated());
    EXPECT_TRUE(application.forceTerminate());
    EXPECT_TRUE(QTest::qWaitFor([&] { return application.isTerminated(); }, 15000));
    EXPECT_FALSE(application.forceTerminate());
}

TEST_F(WorkspaceRunningApplications, InstanceOfAReplacedBundleIsStillFound) {
    if (!haveBus())
        GTEST_SKIP() << "the probe needs a session bus";
    const auto old = test::ProbeBundle::make(modulesDir, test::uniqueModuleId("update"));
    const auto oldApp = start(old);
    ASSERT_TRUE(oldApp);

    // An install swaps bundles: the module folder moves aside to <id>.bak, the
    // new bundle takes its place, the backup is deleted.
    const QString moduleDir = modulesDir + QLatin1Char('/') + old.id;
    moveFolder(moduleDir, moduleDir + QStringLiteral(".bak"));
    const auto fresh = test::ProbeBundle::make(modulesDir, old.id);
    ASSERT_TRUE(QDir(moduleDir + QStringLiteral(".bak")).removeRecursively());

    const auto found = workspace.runningApplications(old.identifier());
    ASSERT_EQ(found.size(), 1) << "the old instance still runs the module";
    EXPECT_EQ(found[0]->pid(), oldApp->pid());
    EXPECT_EQ(found[0]->bundlePath(), moduleDir + QStringLiteral(".bak/Probe.app"));
    EXPECT_EQ(found[0]->executablePath(),
              moduleDir + QStringLiteral(".bak/Probe.app/Contents/MacOS/app-probe"));
    EXPECT_FALSE(found[0]->isTerminated());

    // The new bundle's executable replaced in place, too, keeps its instances.
    const auto freshApp = start(fresh, "second ");
    ASSERT_TRUE(freshApp);
    ASSERT_TRUE(QFile::remove(fresh.executable()));
    test::ProbeBundle::copyProbe(fresh.executable());
    EXPECT_EQ(runningPids(old.identifier()), (QList<qint64>{oldApp->pid(), freshApp->pid()}));

    EXPECT_TRUE(found[0]->terminate());
    EXPECT_TRUE(freshApp->terminate());
    EXPECT_TRUE(waitUntilNotListed(old.identifier()));
}

TEST_F(WorkspaceRunningApplications, ZombieIsNotRunning) {
    if (!haveBus())
        GTEST_SKIP() << "the probe needs a session bus";
    const auto bundle = test::ProbeBundle::make(modulesDir, test::uniqueModuleId("zombie"));
    // Started as our own child and never waited for, it stays a zombie once killed.
    const QByteArray program = QFile::encodeName(bundle.executable());
    char* const argv[] = {const_cast<char*>(program.constData()), nullptr};
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execv(argv[0], argv);
        ::_exit(127);
    }
    const bool listedWhileAlive =
        QTest::qWaitFor([&] { return runningPids(bundle.identifier()).contains(child); }, 15000);
    const auto handle = workspace.runningApplications(bundle.identifier());
    ::kill(child, SIGKILL);
    const bool becameZombie = QTest::qWaitFor(
        [&] {
            const auto stat = ProcessStat::read(QStringLiteral("/proc"), child);
            return stat && stat->state == 'Z';
        },
        15000);
    const bool listedAsZombie = runningPids(bundle.identifier()).contains(child);
    const bool handleSaysEnded = handle.size() == 1 && handle[0]->isTerminated();
    const bool signalRefused = handle.size() == 1 && !handle[0]->terminate();
    ::waitpid(child, nullptr, 0);

    EXPECT_TRUE(listedWhileAlive);
    ASSERT_TRUE(becameZombie);
    EXPECT_FALSE(listedAsZombie);
    EXPECT_TRUE(handleSaysEnded);
    EXPECT_TRUE(signalRefused);
}

TEST_F(WorkspaceRunningApplications, WithoutLocatorNothingIsFound) {
    DesktopWorkspace bare;
    EXPECT_TRUE(bare.runningApplications(QStringLiteral("vn.ovrel.module.clock")).isEmpty());
}

TEST(LinuxRunningApplication, AHandleNeverSignalsAnotherProcessUnderTheSameNumber) {
    const auto self = ProcessStat::read(QStringLiteral("/proc"), ::getpid());
    ASSERT_TRUE(self.has_value());
    // Our own number with another start time: a process that ended, its number reused.
    LinuxRunningApplication stale(::getpid(), self->startTime + 1, "vn.ovrel.module.x", "/b",
                                  "/b/x");
    EXPECT_TRUE(stale.isTerminated());
    EXPECT_FALSE(stale.terminate());
    EXPECT_FALSE(stale.forceTerminate());
    EXPECT_FALSE(stale.activate());

    LinuxRunningApplication gone(::getpid(), std::nullopt, "vn.ovrel.module.x", "/b", "/b/x");
    EXPECT_TRUE(gone.isTerminated());
    LinuxRunningApplication invalid(0, 0, "vn.ovrel.module.x", "/b", "/b/x");
    EXPECT_TRUE(invalid.isTerminated());
    EXPECT_FALSE(invalid.terminate()) << "never kill(0), the whole process group";

    LinuxRunningApplication current(::getpid(), self->startTime, "vn.ovrel.module.x", "/b", "/b/x");
    EXPECT_FALSE(current.isTerminated());
}

TEST(ModuleBundleLocator, ModuleFolderAndItsBackup) {
    const BundleLocator locate = moduleBundleLocator(QStringLiteral("/data/Ovrel/Modules"));
    EXPECT_EQ(locate(QStringLiteral("vn.ovrel.module.clock")),
              (QStringList{"/data/Ovrel/Modules/clock", "/data/Ovrel/Modules/clock.bak"}));
    EXPECT_EQ(locate(QStringLiteral("vn.ovrel.module.2fa-otp")),
              (QStringList{"/data/Ovrel/Modules/2fa-otp", "/data/Ovrel/Modules/2fa-otp.bak"}));
    for (const char* other :
         {"vn.ovrel.lite", "vn.ovrel.module.", "vn.ovrel.module..", "vn.ovrel.module.clock.bak",
          "vn.ovrel.module.../x", "vn.ovrel.module.a/b", "com.example.module.clock", ""})
        EXPECT_TRUE(locate(QString::fromLatin1(other)).isEmpty()) << other;
}
