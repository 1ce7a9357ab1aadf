#include "OvrelModuleKit/inbox/ModuleInbox.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/launch/ModuleStartupLog.h"
#include "OvrelModuleKit/menu/DynamicMenuFile.h"
#include "OvrelModuleKit/permissions/PermissionStatusFile.h"
#include "Platform/process/ModuleBusName.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

// A sample module started from its built bundle, with data and settings
// folders of its own, the way the hub starts an installed module.
class RunningSample {
public:
    RunningSample(const QString& name, QString id, const QString& root)
        : m_id(std::move(id)), m_paths(root + "/data/Ovrel") {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", root + "/data");
        env.insert("XDG_CONFIG_HOME", root + "/config");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(QStringLiteral(OVREL_BINARY_DIR "/modules/") + name +
                        ".app/Contents/MacOS/" + name);
    }
    ~RunningSample() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    const ModulePaths& paths() const { return m_paths; }

    // Activate is answered from the module's event loop, which runs only once
    // the launch sequence is done: after the answer, the module observes its
    // notifications.
    bool waitUntilLaunched() {
        const QString busName = *ModuleBusName::forBundleIdentifier("vn.ovrel.module." + m_id);
        return QTest::qWaitFor(
            [&] {
                QDBusMessage call =
                    QDBusMessage::createMethodCall(busName, ModuleBusName::objectPath(busName),
                                                   "org.freedesktop.Application", "Activate");
                call << QVariantMap();
                return QDBusConnection::sessionBus().call(call, QDBus::Block, 15000).type() ==
                       QDBusMessage::ReplyMessage;
            },
            30000);
    }

    void send(const QString& command) const {
        ModuleInbox(m_paths, m_id).write(command, std::nullopt, std::chrono::system_clock::now());
        ModuleNotify::post(ModuleNotify::commandName(m_id));
    }

    std::vector<DynamicMenuItem> menu() const { return DynamicMenuFile::read(m_paths, m_id); }

    bool stopsCleanly() {
        m_process.terminate();
        return m_process.waitForFinished(15000) && m_process.exitStatus() == QProcess::NormalExit &&
               m_process.exitCode() == 0;
    }

private:
    QString m_id;
    ModulePaths m_paths;
    QProcess m_process;
};

const DynamicMenuItem* itemWithId(const std::vector<DynamicMenuItem>& items, const QString& id) {
    for (const DynamicMenuItem& item : items)
        if (item.id == id)
            return &item;
    return nullptr;
}

class SampleModuleRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "no D-Bus session bus";
    }
    test::TempDir dir;
};

} // namespace

// One test per module: the module's bus name is the same in every test.
TEST_F(SampleModuleRunTest, PulsePublishesItsMenuReportsPermissionsAndPauses) {
    RunningSample pulse("Pulse", "pulse", dir.path());
    ASSERT_TRUE(pulse.waitUntilLaunched());
    EXPECT_EQ(ModuleStartupLog(pulse.paths(), "pulse", 20).timestamps().size(), 1u);

    // The menu is published right after the start; a slow machine may need a moment.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return itemWithId(pulse.menu(), "resume") != nullptr; }, 30000));
    const auto menu = pulse.menu();
    ASSERT_NE(itemWithId(menu, "resume"), nullptr);
    EXPECT_TRUE(itemWithId(menu, "resume")->checked); // reminders run after a start
    const DynamicMenuItem* pauseMenu = itemWithId(menu, "pause-menu");
    ASSERT_NE(pauseMenu, nullptr);
    EXPECT_EQ(pauseMenu->children.size(), 3u);
    EXPECT_FALSE(itemWithId(menu, "status")->enabled);

    const auto asked = std::chrono::system_clock::now();
    pulse.send("checkPermissions");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto written = PermissionStatusFile::writtenAt(pulse.paths(), "pulse");
            return written && *written >= asked;
        },
        15000));
    EXPECT_EQ(PermissionStatusFile::read(pulse.paths(), "pulse", {PermissionKind::inputMonitoring})
                  .size(),
              1u);

    pulse.send("pause");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto items = pulse.menu();
            const DynamicMenuItem* resume = itemWithId(items, "resume");
            return resume && !resume->checked;
        },
        15000));
    const auto paused = pulse.menu();
    const DynamicMenuItem* pauseMenuAfter = itemWithId(paused, "pause-menu");
    ASSERT_NE(pauseMenuAfter, nullptr);
    const DynamicMenuItem* untilResumed = itemWithId(pauseMenuAfter->children, "pause");
    ASSERT_NE(untilResumed, nullptr);
    EXPECT_TRUE(untilResumed->checked);

    EXPECT_TRUE(pulse.stopsCleanly());
}

TEST_F(SampleModuleRunTest, ClockListsRecentZonesAndShowsTheOnePicked) {
    RunningSample clock("Clock", "clock", dir.path());
    ASSERT_TRUE(clock.waitUntilLaunched());
    ASSERT_TRUE(QTest::qWaitFor([&] { return clock.menu().size() == 5u; }, 30000));

    const auto menu = clock.menu();
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_TRUE(menu[0].checked); // this computer's zone, shown by default
    for (std::size_t i = 0; i < menu.size(); ++i)
        EXPECT_EQ(menu[i].command, "showZone" + QString::number(i + 1));

    const QString picked = menu[2].id;
    clock.send("showZone3");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto items = clock.menu();
            return !items.empty() && items[0].id == picked && items[0].checked;
        },
        15000));
    EXPECT_TRUE(clock.stopsCleanly());
}
