#include "ManifestFixture.h"
#include "TestSupport.h"

#include "OvrelModuleKit/inbox/ModuleHostState.h"
#include "OvrelModuleKit/inbox/ModuleInbox.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/launch/ModuleStartupLog.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "Platform/plist/PlistCodec.h"
#include "Platform/process/ModuleBusName.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;

namespace {

// A module program built on the standard launch (tests/probes/launch_probe),
// copied into a bundle with a manifest so that it starts like an installed
// module, with its own data and configuration folders.
class ProbeModule {
public:
    ProbeModule(const QString& root, const QString& id) : m_root(root), m_id(id) {
        const QString bundle = root + "/Probe.app";
        m_executable = bundle + "/Contents/MacOS/launch_probe";
        QDir().mkpath(bundle + "/Contents/MacOS");
        QFile::copy(probePath("launch_probe"), m_executable);
        writeFile(bundle + "/Contents/Info.plist",
                  PlistCodec::toXml(QVariantMap{
                      {"CFBundleIdentifier", "vn.ovrel.module." + id},
                      {"CFBundleExecutable", "launch_probe"},
                      {"CFBundleName", "Probe & Co"},
                  }));
        QJsonObject manifest = minimalManifest();
        manifest["id"] = id;
        manifest["settings"] = QJsonArray{
            boolSetting("seconds", true), intSetting("refresh", 1, 1, 60),
            enumSetting("style", "digital", {"analog", "digital"}), stringSetting("zone", "", 40)};
        writeFile(bundle + "/Contents/Resources/manifest.json", toBytes(manifest));
    }

    ModulePaths paths() const { return ModulePaths(m_root + "/data/Ovrel"); }

    std::unique_ptr<QProcess> start() const {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", m_root + "/data");
        env.insert("XDG_CONFIG_HOME", m_root + "/config");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process->setProcessEnvironment(env);
        process->setProgram(m_executable);
        process->setArguments({m_id});
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start();
        return process;
    }

private:
    QString m_root;
    QString m_id;
    QString m_executable;
};

// Reads what the probe prints, line by line.
class Output {
public:
    explicit Output(QProcess& process) : m_process(process) {}

    // Reads on until `line` was printed `times` times in all.
    bool waitFor(const QString& line, qsizetype times = 1) {
        while (m_lines.count(line) < times) {
            if (!readLine())
                return false;
        }
        return true;
    }
    const QStringList& lines() const { return m_lines; }

private:
    bool readLine() {
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(15000))
                return false;
        }
        m_lines.append(QString::fromUtf8(m_process.readLine()).trimmed());
        return true;
    }

    QProcess& m_process;
    QStringList m_lines;
};

class ModuleLaunchCrossProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "no D-Bus session bus";
        if (!QFile::exists(probePath("launch_probe")))
            GTEST_SKIP() << "probe program not built";
    }
    void TearDown() override {
        for (auto& process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    QProcess& start() {
        m_processes.push_back(module.start());
        return *m_processes.back();
    }

    static bool stopsCleanly(QProcess& process) {
        process.terminate(); // SIGTERM
        return process.waitForFinished(15000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    TempDir dir;
    // Bus names are shared with every test running at the same time.
    QString id = QStringLiteral("lp-%1").arg(QRandomGenerator::global()->generate64(), 16, 16,
                                             QLatin1Char('0'));
    ProbeModule module{dir.path(), id};
    ModulePaths paths = module.paths();

private:
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

const QString kDefaults = R"(settings refresh=1;seconds=true;style="digital";zone="")";

} // namespace

TEST_F(ModuleLaunchCrossProcessTest, StartsWithManifestLanguageAndSettingsThenOpens) {
    QProcess& process = start();
    Output output(process);
    ASSERT_TRUE(output.waitFor("launched"));
    EXPECT_EQ(output.lines(), (QStringList{"language vi", kDefaults, "command open",
                                           "menu Probe & Co", "launched"}));
    EXPECT_TRUE(stopsCleanly(process));
}

TEST_F(ModuleLaunchCrossProcessTest, CommandWaitingAtStartIsTakenInsteadOfOpening) {
    ModuleInbox(paths, id).write("refresh", std::nullopt, std::chrono::system_clock::now());
    QProcess& process = start();
    Output output(process);
    ASSERT_TRUE(output.waitFor("launched"));
    EXPECT_TRUE(output.lines().contains("command refresh"));
    EXPECT_FALSE(output.lines().contains("command open"));
    EXPECT_FALSE(QFile::exists(paths.inboxFile(id)));
    EXPECT_TRUE(stopsCleanly(process));
}

TEST_F(ModuleLaunchCrossProcessTest, HubMessagesReachTheRunningModule) {
    QProcess& process = start();
    Output output(process);
    ASSERT_TRUE(output.waitFor("launched"));

    // A command: written into the inbox, then announced.
    ModuleInbox(paths, id).write("refresh", QString("ignored"), std::chrono::system_clock::now());
    ModuleNotify::post(ModuleNotify::commandName(id));
    ASSERT_TRUE(output.waitFor("command refresh"));
    EXPECT_FALSE(QFile::exists(paths.inboxFile(id)));

    // Settings saved by the hub: values that do not fit fall back to their defaults.
    ModuleSettingsStore(paths).save({{"refresh", SettingValue::fromInt(500)},
                                     {"seconds", SettingValue::fromBool(false)},
                                     {"style", SettingValue::fromString("analog")},
                                     {"zone", SettingValue::fromString("Asia/Tokyo")}},
                                    id);
    EXPECT_TRUE(
        output.waitFor(R"(settings refresh=1;seconds=false;style="analog";zone="Asia/Tokyo")"));

    // The hub's language.
    ModuleHostState::write("ja", ModuleHostState::defaultAPIBase(), paths);
    EXPECT_TRUE(output.waitFor("language ja"));

    EXPECT_TRUE(stopsCleanly(process));
}

TEST_F(ModuleLaunchCrossProcessTest, ActivateOverTheBusReopensTheModule) {
    QProcess& process = start();
    Output output(process);
    ASSERT_TRUE(output.waitFor("launched"));
    const qsizetype opensAtLaunch = output.lines().count("command open");

    const QString busName = *ModuleBusName::forBundleIdentifier("vn.ovrel.module." + id);
    QDBusMessage call = QDBusMessage::createMethodCall(busName, ModuleBusName::objectPath(busName),
                                                       "org.freedesktop.Application", "Activate");
    call << QVariantMap();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 15000);
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();

    EXPECT_TRUE(output.waitFor("command open", opensAtLaunch + 1));
    EXPECT_TRUE(stopsCleanly(process));
}

TEST_F(ModuleLaunchCrossProcessTest, SecondInstanceHandsOverAndEnds) {
    QProcess& first = start();
    Output firstOutput(first);
    ASSERT_TRUE(firstOutput.waitFor("launched"));
    const qsizetype opens = firstOutput.lines().count("command open");

    QProcess& second = start();
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty()); // it never launched

    // The first one was asked to come forward.
    EXPECT_TRUE(firstOutput.waitFor("command open", opens + 1));
    EXPECT_TRUE(stopsCleanly(first));

    // Only the instance that ran recorded a start.
    EXPECT_EQ(ModuleStartupLog(paths, id, 20).timestamps().size(), 1u);
}

TEST_F(ModuleLaunchCrossProcessTest, EveryStartIsRecorded) {
    for (int run = 0; run < 2; ++run) {
        QProcess& process = start();
        Output output(process);
        ASSERT_TRUE(output.waitFor("launched"));
        ASSERT_TRUE(stopsCleanly(process));
    }
    const auto starts = ModuleStartupLog(paths, id, 20).timestamps();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_LE(starts[0], starts[1]);
    EXPECT_LE(starts[1], std::chrono::system_clock::now());
}
