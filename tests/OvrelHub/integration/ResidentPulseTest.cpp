// The real Pulse bundle kept running in the background by the hub's own
// fallback (the way the hub runs where there is no systemd user manager):
// installed -> running; killed -> back; uninstalled -> agent gone and ended;
// restarted again and again -> a crash loop.

#include "OvrelHub/resident/FallbackResidentControl.h"
#include "OvrelHub/resident/ResidentAgentPlan.h"
#include "OvrelHub/resident/ResidentModuleService.h"
#include "OvrelHub/resident/ResidentStatusCheck.h"
#include "OvrelHub/resident/ResidentUsage.h"
#include "OvrelModuleKit/launch/ModuleStartupLog.h"
#include "SampleModuleFixture.h"

#include <QFile>
#include <atomic>
#include <csignal>

using namespace ovrel;
using namespace ovrel::test;

namespace {

class ResidentPulseTest : public SampleModuleFixture {
protected:
    void TearDown() override {
        // The control ends its programs only on bootout.
        if (control && control->isLoaded(kLabel))
            control->bootout(kLabel);
        SampleModuleFixture::TearDown();
    }

    void useControl(FallbackResidentControl::Options options) {
        options.workspace = &workspace;
        options.extraEnvironment = {"XDG_DATA_HOME=" + dir.file("data"),
                                    "XDG_CONFIG_HOME=" + dir.file("config"),
                                    "QT_QPA_PLATFORM=offscreen"};
        control = std::make_unique<FallbackResidentControl>(options);
        service =
            std::make_unique<ResidentModuleService>(paths, dir.file("LaunchAgents"), *control);
        residentStore =
            std::make_unique<ModuleStore>(ModuleStore::Collaborators{.state = state,
                                                                     .verifier = verifier,
                                                                     .workspace = workspace,
                                                                     .resident = service.get()});
    }

    // Only ever a real process: kill(0, ...) would hit the test's own group.
    static void killHard(qint64 pid) {
        ASSERT_GT(pid, 1);
        ::kill(pid_t(pid), SIGKILL);
    }

    // The process the hub started after `previous`, once the module recorded
    // its start number `starts` (so it is up, not just executed); 0 if none.
    qint64 waitForStartedInstance(qint64 previous, size_t starts) {
        qint64 pid = 0;
        const bool started = QTest::qWaitFor(
            [&] {
                pid = control->runningPid(kLabel).value_or(0);
                return pid != 0 && pid != previous &&
                       ModuleStartupLog(paths, "pulse", 20).timestamps().size() >= starts;
            },
            30000);
        return started ? pid : 0;
    }

    qint64 runningPid() {
        const RunningApplications instances = running("pulse");
        return instances.isEmpty() ? 0 : instances.first()->pid();
    }

    static inline const QString kLabel = "vn.ovrel.module.pulse";
    std::unique_ptr<FallbackResidentControl> control;
    std::unique_ptr<ResidentModuleService> service;
    std::unique_ptr<ModuleStore> residentStore;
};

} // namespace

TEST_F(ResidentPulseTest, InstalledItRunsKilledItComesBackUninstalledItEnds) {
    useControl({});
    await(residentStore->installLocal("pulse", sampleBundle("Pulse")));
    const qint64 first = waitForStartedInstance(0, 1);
    ASSERT_GT(first, 1);
    EXPECT_TRUE(service->isRegistered("pulse"));
    EXPECT_EQ(runningPid(), first);
    const std::optional<ResidentUsage> usage = ResidentUsage::read(workspace, "pulse");
    ASSERT_TRUE(usage);
    EXPECT_GT(usage->memoryBytes, 0u);

    killHard(first);
    const qint64 second = waitForStartedInstance(first, 2);
    ASSERT_GT(second, 1) << "not back within the throttle";

    await(residentStore->uninstall("pulse", false));
    EXPECT_FALSE(QFile::exists(service->plistFile("pulse")));
    EXPECT_FALSE(service->isRegistered("pulse"));
    EXPECT_TRUE(waitUntilStopped("pulse"));
    EXPECT_NE(::kill(pid_t(second), 0), 0);
}

TEST_F(ResidentPulseTest, FourStartsInFiveMinutesAreALoop) {
    // Every throttle has passed whenever the control looks at its clock.
    FallbackResidentControl::Options options;
    options.now = [calls = std::make_shared<std::atomic<int>>(0)] {
        return std::chrono::steady_clock::now() + std::chrono::hours(++*calls);
    };
    useControl(options);
    await(residentStore->installLocal("pulse", sampleBundle("Pulse")));
    ResidentStatusCheck check(state, *service);
    qint64 previous = 0;
    for (int start = 1; start <= 4; ++start) {
        previous = waitForStartedInstance(previous, size_t(start));
        ASSERT_GT(previous, 1) << "start " << start;
        if (start < 4) {
            EXPECT_EQ(check.status("pulse", ModuleMode::resident).text,
                      "Đang chạy nền (do hub giữ chạy — không có systemd)");
            killHard(previous);
        }
    }
    const ResidentStatus status = check.status("pulse", ModuleMode::resident);
    EXPECT_EQ(status.health, ResidentHealth::looping(4));
    EXPECT_TRUE(status.unhealthy);
}
