#include "ManifestFixture.h"
#include "TestSupport.h"

#include "OvrelModuleKit/inbox/ModuleHostState.h"
#include "OvrelModuleKit/inbox/ModuleInbox.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKitUI/ModuleStandardMenu.h"
#include "OvrelModuleKitUI/StandardModuleLaunch.h"
#include "Platform/system/SystemLog.h"

#include <QDBusConnection>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;

namespace {

// Tests share one session bus with other test programs: every test uses a
// module id of its own so no one else's notification reaches it.
QString freshId() {
    return QStringLiteral("lt-%1").arg(QRandomGenerator::global()->generate64(), 16, 16,
                                       QLatin1Char('0'));
}

QString describe(const SettingsMap& settings) {
    QStringList pairs;
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        const SettingValue& v = it.value();
        QString text;
        if (v.boolValue())
            text = *v.boolValue() ? "true" : "false";
        else if (v.intValue())
            text = QString::number(*v.intValue());
        else
            text = '"' + *v.stringValue() + '"';
        pairs.append(it.key() + '=' + text);
    }
    return pairs.join(';');
}

class StandardModuleLaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.file("config"))); // private state
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", m_savedConfigHome); }

    QByteArray manifest(bool resident = false) const {
        QJsonObject j = minimalManifest();
        j["id"] = id;
        if (resident)
            j["mode"] = "resident";
        j["settings"] = QJsonArray{boolSetting("seconds", true), intSetting("refresh", 1, 1, 60)};
        return toBytes(j);
    }

    std::unique_ptr<StandardModuleLaunch> make(std::optional<QByteArray> manifestData) {
        return std::make_unique<StandardModuleLaunch>(
            id, paths, std::move(manifestData),
            [this](const QString& language) { events.append("language " + language); },
            [this](const SettingsMap& settings) {
                events.append("settings " + describe(settings));
            },
            [this](const QString& command) { events.append("command " + command); });
    }

    void writeInbox(const QString& command, double at) const {
        ModuleInbox(paths, id).write(command, std::nullopt, *UnixTime::fromSeconds(at));
    }

    TempDir dir;
    ModulePaths paths{dir.path() + "/Ovrel"};
    QString id = freshId();
    QStringList events;

private:
    QByteArray m_savedConfigHome;
};

const double kSomeTime = 1700000000.5;

} // namespace

TEST_F(StandardModuleLaunchTest, LaunchAnnouncesLanguageSettingsThenOpens) {
    auto launch = make(manifest());
    launch->launch();
    EXPECT_EQ(events,
              (QStringList{"language vi", "settings refresh=1;seconds=true", "command open"}));
    ASSERT_TRUE(launch->manifest());
    EXPECT_EQ(launch->manifest()->id(), id);
    EXPECT_EQ(describe(launch->settings()), "refresh=1;seconds=true");
    EXPECT_TRUE(ModuleStandardMenu::isInstalled());
}

TEST_F(StandardModuleLaunchTest, WaitingCommandIsHandledOnceInsteadOfOpening) {
    writeInbox("refresh", kSomeTime);
    auto launch = make(manifest());
    launch->launch();
    EXPECT_EQ(events.last(), "command refresh");
    EXPECT_FALSE(events.contains("command open"));
    EXPECT_FALSE(QFile::exists(paths.inboxFile(id)));
    EXPECT_EQ(launch->privateState().doubleValue("lastCommandAt"), kSomeTime);

    events.clear();
    EXPECT_FALSE(launch->drainInbox());
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(StandardModuleLaunchTest, ResidentModuleOpensNothingAtLaunch) {
    auto launch = make(manifest(true));
    launch->launch();
    EXPECT_EQ(events, (QStringList{"language vi", "settings refresh=1;seconds=true"}));
    launch->handleReopen();
    EXPECT_EQ(events.size(), 2);
}

TEST_F(StandardModuleLaunchTest, ReopenOpensTheWindowOfOnDemandModules) {
    auto launch = make(manifest());
    launch->launch();
    events.clear();
    launch->handleReopen();
    EXPECT_EQ(events, QStringList{"command open"});
}

TEST_F(StandardModuleLaunchTest, CommandNotNewerThanTheLastIsRemovedAndIgnored) {
    auto launch = make(manifest(true));
    launch->privateState().setDouble(kSomeTime, "lastCommandAt");
    writeInbox("refresh", kSomeTime); // a replay of the last command
    launch->launch();
    EXPECT_FALSE(events.contains("command refresh"));
    EXPECT_FALSE(QFile::exists(paths.inboxFile(id)));

    writeInbox("refresh", kSomeTime - 10);
    EXPECT_FALSE(launch->drainInbox());
    writeInbox("refresh", kSomeTime + 0.25);
    EXPECT_TRUE(launch->drainInbox());
    EXPECT_EQ(events.last(), "command refresh");
    EXPECT_EQ(launch->privateState().doubleValue("lastCommandAt"), kSomeTime + 0.25);
}

TEST_F(StandardModuleLaunchTest, CorruptInboxIsRemovedWithoutEffect) {
    writeFile(paths.inboxFile(id), "{\"command\":");
    auto launch = make(manifest(true));
    launch->launch();
    EXPECT_FALSE(QFile::exists(paths.inboxFile(id)));
    EXPECT_EQ(events.size(), 2);
}

TEST_F(StandardModuleLaunchTest, SettingsAreReconciledWithTheManifest) {
    writeFile(paths.settingsFile(id), R"({"refresh": 500, "seconds": false, "gone": 1})");
    auto launch = make(manifest(true));
    launch->launch();
    EXPECT_EQ(events.last(), "settings refresh=1;seconds=false");

    writeFile(paths.settingsFile(id), R"({"refresh": 30, "seconds": false})");
    launch->reloadSettings();
    EXPECT_EQ(events.last(), "settings refresh=30;seconds=false");
    EXPECT_EQ(describe(launch->settings()), "refresh=30;seconds=false");
}

TEST_F(StandardModuleLaunchTest, LanguageComesFromTheHostFile) {
    ModuleHostState::write("ja", ModuleHostState::defaultAPIBase(), paths);
    make(manifest(true))->launch();
    EXPECT_EQ(events.first(), "language ja");

    events.clear();
    writeFile(paths.hostFile(), R"({"appLanguage":"de"})");
    make(manifest(true))->launch();
    EXPECT_EQ(events.first(), "language vi");
}

TEST_F(StandardModuleLaunchTest, WithoutManifestTheModuleRunsOnLanguageAndCommands) {
    SystemLogCapture log;
    writeInbox("refresh", kSomeTime);
    auto launch = make(QByteArray("{\"id\":"));
    launch->launch();

    EXPECT_TRUE(
        log.contains("Ovrel module '" + id + "': không đọc được manifest — dùng mặc định rỗng"));
    EXPECT_FALSE(launch->manifest());
    EXPECT_TRUE(launch->settings().isEmpty());
    EXPECT_EQ(events, (QStringList{"language vi", "command refresh"}));

    launch->reloadSettings();
    launch->handleReopen();
    EXPECT_EQ(events.size(), 2);
}

TEST_F(StandardModuleLaunchTest, ManifestOfAnotherModuleIsNoManifest) {
    SystemLogCapture log;
    QJsonObject other = minimalManifest();
    other["id"] = "someone-else";
    auto launch = make(toBytes(other));
    launch->launch();
    EXPECT_FALSE(launch->manifest());
    EXPECT_EQ(log.lines().size(), 1);
}

TEST_F(StandardModuleLaunchTest, OutsideABundleThereIsNoManifestToRead) {
    SystemLogCapture log;
    auto launch = make(std::nullopt);
    launch->launch();
    EXPECT_FALSE(launch->manifest());
    EXPECT_TRUE(
        log.contains("Ovrel module '" + id + "': không đọc được manifest — dùng mặc định rỗng"));
}

TEST_F(StandardModuleLaunchTest, CommandWithoutHandlerIsLoggedAndDropped) {
    auto launch = make(manifest(true));
    launch->launch();
    EXPECT_TRUE(launch->commandHandler());
    launch->setCommandHandler({});

    SystemLogCapture log;
    writeInbox("refresh", kSomeTime);
    launch->drainInbox();
    EXPECT_EQ(log.lines(),
              QStringList{"Ovrel module '" + id + "': chưa có bộ xử lý lệnh, bỏ qua 'refresh'"});
    EXPECT_FALSE(events.contains("command refresh"));
    EXPECT_FALSE(QFile::exists(paths.inboxFile(id)));
}

TEST_F(StandardModuleLaunchTest, NotificationsReachOnlyLaunchesStillAlive) {
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no D-Bus session bus";
    int goneCalls = 0;
    auto gone = std::make_unique<StandardModuleLaunch>(
        id, paths, manifest(true), [](const QString&) {},
        [&goneCalls](const SettingsMap&) { ++goneCalls; }, [](const QString&) {});
    gone->launch();
    ASSERT_EQ(goneCalls, 1);
    gone.reset();

    auto alive = make(manifest(true));
    alive->launch();
    events.clear();
    writeFile(paths.settingsFile(id), R"({"refresh": 7})");
    ModuleNotify::post(ModuleNotify::settingsName(id));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.isEmpty(); }, 15000));
    EXPECT_EQ(events, QStringList{"settings refresh=7;seconds=true"});
    EXPECT_EQ(goneCalls, 1);
}
