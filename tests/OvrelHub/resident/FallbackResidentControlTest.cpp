#include "OvrelHub/resident/FallbackResidentControl.h"
#include "FakeWorkspace.h"
#include "OvrelHub/resident/ResidentAgentPlan.h"
#include "OvrelHub/resident/ResidentError.h"
#include "Platform/plist/PlistCodec.h"
#include "Platform/system/SystemLog.h"
#include "TestSupport.h"

#include <QFile>
#include <QTest>
#include <atomic>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace ovrel;
using namespace std::chrono_literals;

namespace {

const QString kLabel = "vn.ovrel.module.pulse";

// An agent whose program is a script that notes each start and then exits
// with the status in a file (or keeps running while the file says "run").
class FallbackResidentControlTest : public ::testing::Test {
protected:
    QString agent(int throttleSeconds = 10) {
        const QString script = dir.file("program");
        const QByteArray d = dir.path().toUtf8();
        test::writeFile(script, "#!/bin/sh\n"
                                "date +%s.%N >> '" +
                                    d +
                                    "/starts'\n"
                                    "echo \"$OVREL_PROBE\" >> '" +
                                    d +
                                    "/env'\n"
                                    "[ \"$(cat '" +
                                    d +
                                    "/exit')\" = run ] && exec sleep 600\n"
                                    "exit \"$(cat '" +
                                    d + "/exit')\"\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString plist = dir.file(ResidentAgentPlan::plistFileName("pulse"));
        test::writeFile(
            plist, PlistCodec::toXml(ResidentAgentPlan::plist("pulse", script, throttleSeconds)));
        return plist;
    }
    void exitWith(const QByteArray& status) { test::writeFile(dir.file("exit"), status); }
    QList<double> starts() const {
        QList<double> times;
        for (const QByteArray& line : test::readFile(dir.file("starts")).split('\n'))
            if (!line.isEmpty())
                times.append(line.toDouble());
        return times;
    }
    bool waitForStarts(int count) {
        return QTest::qWaitFor([&] { return starts().size() >= count; }, 30000);
    }
    // Every throttle has passed whenever the control looks at the clock.
    static FallbackResidentControl::Options fastClock() {
        FallbackResidentControl::Options options;
        options.now = [calls = std::make_shared<std::atomic<int>>(0)] {
            return std::chrono::steady_clock::now() + std::chrono::hours(++*calls);
        };
        return options;
    }

    test::TempDir dir;
};

} // namespace

TEST_F(FallbackResidentControlTest, UnsuccessfulExitsAreRestartedUntilBootout) {
    exitWith("3");
    FallbackResidentControl::Options options = fastClock();
    options.extraEnvironment = {"OVREL_PROBE=given"};
    FallbackResidentControl control(options);
    SystemLogCapture log;
    control.bootstrap(agent(), kLabel);
    EXPECT_TRUE(control.isLoaded(kLabel));
    ASSERT_TRUE(waitForStarts(3));
    // Restarts come at once here, so more may have happened since the wait
    // saw three; at most the one under way when bootout came may still record.
    const qsizetype beforeBootout = starts().size();
    control.bootout(kLabel);
    EXPECT_FALSE(control.isLoaded(kLabel));
    EXPECT_LE(starts().size(), beforeBootout + 1);
    EXPECT_TRUE(test::readFile(dir.file("env")).startsWith("given\n"));
    EXPECT_TRUE(log.contains(
        "Ovrel: module pulse đã thoát (mã 3) — hub khởi động lại sau tối thiểu 10 giây"));
}

TEST_F(FallbackResidentControlTest, RestartsWaitForTheThrottleAfterThePreviousStart) {
    exitWith("1");
    FallbackResidentControl control;
    control.bootstrap(agent(1), kLabel);
    ASSERT_TRUE(waitForStarts(2));
    control.bootout(kLabel);
    const QList<double> times = starts();
    EXPECT_GE(times[1] - times[0], 0.99);
}

TEST_F(FallbackResidentControlTest, ACleanExitIsNotRestarted) {
    exitWith("0");
    SystemLogCapture log;
    FallbackResidentControl control(fastClock());
    control.bootstrap(agent(), kLabel);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return log.contains("Ovrel: module pulse đã thoát bình thường — không khởi động lại");
        },
        30000));
    EXPECT_EQ(starts().size(), 1);
    EXPECT_TRUE(control.isLoaded(kLabel)) << "the agent stays loaded, as launchd keeps it";
}

TEST_F(FallbackResidentControlTest, BootoutEndsTheRunningProgram) {
    exitWith("run");
    FallbackResidentControl control(fastClock());
    control.bootstrap(agent(), kLabel);
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.runningPid(kLabel).has_value(); }, 30000));
    const qint64 pid = *control.runningPid(kLabel);
    control.bootout(kLabel);
    EXPECT_NE(::kill(pid_t(pid), 0), 0) << "the program was ended and reaped";
}

TEST_F(FallbackResidentControlTest, AnInstanceAlreadyRunningIsWatchedAndStartedAgainWhenItEnds) {
    exitWith("run");
    const pid_t adopted = ::fork();
    if (adopted == 0) {
        ::execl("/bin/sleep", "sleep", "600", nullptr);
        ::_exit(127);
    }
    test::FakeWorkspace workspace;
    workspace.running[kLabel] = {std::make_shared<test::FakeRunningApplication>(adopted)};
    FallbackResidentControl::Options options = fastClock();
    options.workspace = &workspace;
    FallbackResidentControl control(options);
    control.bootstrap(agent(), kLabel);
    EXPECT_EQ(control.runningPid(kLabel), adopted);
    EXPECT_TRUE(starts().isEmpty());
    ::kill(adopted, SIGKILL);
    ::waitpid(adopted, nullptr, 0);
    ASSERT_TRUE(waitForStarts(1));
    control.bootout(kLabel);
}

TEST_F(FallbackResidentControlTest, StartLoadsOnlyAgentFilesNamedAfterTheirLabel) {
    exitWith("run");
    FallbackResidentControl control(fastClock());
    const QString good = agent();
    const QString renamed = dir.file("vn.ovrel.module.other.plist");
    QFile::copy(good, renamed);
    test::writeFile(dir.file("vn.ovrel.module.broken.plist"), "not a plist");
    control.loadAtStart({good, renamed, dir.file("vn.ovrel.module.broken.plist")});
    EXPECT_TRUE(control.isLoaded(kLabel));
    EXPECT_FALSE(control.isLoaded("vn.ovrel.module.other"));
    EXPECT_THROW(control.bootstrap(dir.file("vn.ovrel.module.broken.plist"), "x"), ResidentError);
    control.bootout(kLabel);
}
