#include "OvrelModuleKit/launch/ModulePrivateState.h"
#include "OvrelModuleKit/launch/ModuleStartupLog.h"
#include "OvrelModuleKit/menu/DynamicMenuFile.h"
#include "OvrelModuleKitUI/StandardModuleLaunch.h"
#include "Platform/plist/UserDefaults.h"
#include "Platform/system/UnixTime.h"
#include "SampleModuleFixture.h"

#include <QFileInfo>
#include <chrono>
#include <memory>

using namespace ovrel;

namespace {

class InstallAndRunTest : public test::SampleModuleFixture {
protected:
    // When the clock module last took a command from its inbox, as it
    // recorded in its own values (0 before the first one).
    double clockLastCommandAt() const {
        const auto defaults = std::make_shared<UserDefaults>(
            QStringLiteral("vn.ovrel.module.clock"), dir.file(QStringLiteral("config/Ovrel")));
        return ModulePrivateState(QStringLiteral("clock"), defaults)
            .doubleValue(QLatin1String(StandardModuleLaunch::kLastCommandAtKey));
    }

    std::vector<DynamicMenuItem> clockMenu() const {
        return DynamicMenuFile::read(paths, QStringLiteral("clock"));
    }

    std::size_t clockStartups() const {
        return ModuleStartupLog(paths, QStringLiteral("clock"), 20).timestamps().size();
    }
};

} // namespace

TEST_F(InstallAndRunTest, InstalledClockRunsTakesCommandsAndIsEndedByTheUninstall) {
    const ModuleManifest manifest = install("clock", "Clock");
    EXPECT_EQ(manifest.id(), "clock");
    ASSERT_TRUE(isInstalled("clock"));
    EXPECT_TRUE(QFileInfo(paths.moduleDir("clock") + "/Clock.app/Contents/Info.plist").isFile());
    EXPECT_TRUE(running("clock").isEmpty());

    // Not running: the command waits in the inbox and the module is started.
    const double beforeOpen = UnixTime::toSeconds(std::chrono::system_clock::now());
    runner.send("open", std::nullopt, "clock");
    ASSERT_TRUE(waitUntilRunning("clock"));
    const qint64 pid = running("clock").first()->pid();
    ASSERT_TRUE(waitUntilInboxTaken("clock"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return clockLastCommandAt() >= beforeOpen; }, 30000));
    EXPECT_TRUE(posted.empty()) << "a module that was not running is started, not notified";
    EXPECT_EQ(clockStartups(), 1u);

    // Running: the next command arrives through the notification.
    ASSERT_TRUE(QTest::qWaitFor([&] { return clockMenu().size() >= 3; }, 30000));
    const QString picked = clockMenu()[2].id;
    runner.send("showZone3", std::nullopt, "clock");
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].name, "vn.ovrel.module.clock.command");
    ASSERT_TRUE(posted[0].inbox.has_value());
    EXPECT_EQ(posted[0].inbox->command, "showZone3");
    EXPECT_EQ(posted[0].inbox->argument, std::nullopt);
    ASSERT_TRUE(waitUntilInboxTaken("clock"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto items = clockMenu();
            return !items.empty() && items[0].id == picked && items[0].checked;
        },
        30000));
    const RunningApplications instances = running("clock");
    ASSERT_EQ(instances.size(), 1);
    EXPECT_EQ(instances.first()->pid(), pid);
    EXPECT_EQ(clockStartups(), 1u);
    EXPECT_EQ(alerts, 0);

    test::await(store.uninstall("clock", false));
    EXPECT_TRUE(waitUntilStopped("clock"));
    EXPECT_FALSE(QFileInfo::exists(paths.moduleDir("clock")));
    EXPECT_FALSE(isInstalled("clock"));
}
