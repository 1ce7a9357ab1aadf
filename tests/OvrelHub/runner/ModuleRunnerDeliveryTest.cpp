#include "ModuleRunnerFixture.h"
#include "OvrelModuleKit/inbox/ModuleInbox.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/json/OrderedJsonWriter.h"
#include "Platform/files/FileError.h"
#include "Platform/notify/DarwinNotify.h"
#include "Platform/system/SystemLog.h"
#include "Platform/system/UnixTime.h"

#include <QDBusConnection>
#include <QTest>
#include <chrono>

using namespace ovrel;
using namespace ovrel::test;

namespace {

const QString kClock = QStringLiteral("clock");

// What writing this command into the clock's inbox fails with right now.
QString inboxFailure(const ModulePaths& paths, const QString& command) {
    try {
        ModuleInbox(paths, kClock).write(command, std::nullopt, std::chrono::system_clock::now());
    } catch (const FileError& error) {
        return error.description();
    } catch (const JsonEncodingError& error) {
        return error.description();
    }
    return {};
}

} // namespace

TEST_F(ModuleRunnerTest, ModuleThatIsNotRunningIsStartedAfterItsInboxIsWritten) {
    const QString bundle = install();
    const double before = UnixTime::toSeconds(std::chrono::system_clock::now());
    ModuleCommandSending& sender = runner;
    sender.send(QStringLiteral("show"), QStringLiteral("tab=2"), kClock);
    const double after = UnixTime::toSeconds(std::chrono::system_clock::now());

    EXPECT_EQ(events, QStringList{QStringLiteral("open show/tab=2")});
    ASSERT_EQ(workspace.openRequests.size(), 1);
    EXPECT_EQ(workspace.openRequests[0].bundlePath, bundle);
    EXPECT_TRUE(workspace.openRequests[0].activate);
    const std::optional<InboxCommand> written = inbox();
    ASSERT_TRUE(written.has_value());
    EXPECT_GE(written->at, before);
    EXPECT_LE(written->at, after);
}

TEST_F(ModuleRunnerTest, CommandWithoutArgumentIsWrittenWithoutOne) {
    install();
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    ASSERT_TRUE(inbox().has_value());
    EXPECT_EQ(inbox()->command, QStringLiteral("open"));
    EXPECT_FALSE(inbox()->argument.has_value());
    EXPECT_FALSE(readFile(paths.inboxFile(kClock)).contains("argument"));
}

TEST_F(ModuleRunnerTest, ModuleThatFailsToStartIsLogged) {
    install();
    workspace.openError = WorkspaceError(WorkspaceError::Kind::executableMissing,
                                         QStringLiteral("/x/Contents/MacOS/clock"));
    SystemLogCapture log;
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Ovrel: không mở được module clock: ") +
                                       workspace.openError->description()});
    // The command stays for the module's next start.
    EXPECT_TRUE(inbox().has_value());
}

TEST_F(ModuleRunnerTest, RunningModuleIsNotifiedAndItsFirstInstanceActivated) {
    install();
    const auto first = addRunning(11);
    const auto second = addRunning(12);
    runner.send(QStringLiteral("show"), std::nullopt, kClock);

    EXPECT_EQ(events, (QStringList{QStringLiteral("post vn.ovrel.module.clock.command show/-"),
                                   QStringLiteral("activate 11")}));
    EXPECT_TRUE(workspace.openRequests.isEmpty());
    EXPECT_EQ(first->activations, 1);
    EXPECT_EQ(second->activations, 0);
}

TEST_F(ModuleRunnerTest, InboxThatCannotBeWrittenIsLoggedAndNothingDelivered) {
    install();
    addRunning(11);
    // A directory where the inbox file belongs cannot be replaced by a file.
    writeFile(paths.inboxFile(kClock) + QStringLiteral("/occupied"), "x");
    const QString reason = inboxFailure(paths, QStringLiteral("open"));
    ASSERT_FALSE(reason.isEmpty());

    SystemLogCapture log;
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(
        log.lines(),
        QStringList{QStringLiteral("Ovrel: không ghi được inbox cho module clock: ") + reason});
    EXPECT_TRUE(events.isEmpty()) << events.join(u';').toStdString();
    EXPECT_TRUE(workspace.openRequests.isEmpty());
}

TEST_F(ModuleRunnerTest, CommandThatCannotBeEncodedIsLoggedAndNothingDelivered) {
    install();
    const QString broken = QStringLiteral("show") + QChar(0xD800);
    const QString reason = inboxFailure(paths, broken);
    ASSERT_FALSE(reason.isEmpty());

    SystemLogCapture log;
    runner.send(broken, std::nullopt, kClock);
    EXPECT_EQ(
        log.lines(),
        QStringList{QStringLiteral("Ovrel: không ghi được inbox cho module clock: ") + reason});
    EXPECT_TRUE(workspace.openRequests.isEmpty());
    EXPECT_FALSE(inbox().has_value());
}

TEST_F(ModuleRunnerTest, RunningModuleHearsTheCommandNotificationOnTheBus) {
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no D-Bus session bus";
    install();
    addRunning(11);
    QString seen;
    const DarwinNotify::Token token =
        DarwinNotify::observe(ModuleNotify::commandName(kClock), [&] { seen = inboxText(kClock); });
    ModuleRunner::Hooks hooks = recordingHooks();
    hooks.postNotification = nullptr; // the real notification
    ModuleRunner real(paths, store, verifier, workspace, hooks);

    real.send(QStringLiteral("show"), QStringLiteral("now"), kClock);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !seen.isEmpty(); }, 5000));
    EXPECT_EQ(seen, QStringLiteral("show/now"));
    EXPECT_EQ(events, QStringList{QStringLiteral("activate 11")});
}
