#include "OvrelHub/resident/SystemdUserControl.h"
#include "FakeTool.h"
#include "OvrelHub/resident/ResidentAgentPlan.h"
#include "OvrelHub/resident/ResidentError.h"
#include "Platform/plist/PlistCodec.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace ovrel;
using test::FakeTool;

namespace {

const QString kLabel = "vn.ovrel.module.pulse";
const QString kUnit = "vn.ovrel.module.pulse.service";

class SystemdUserControlTest : public ::testing::Test {
protected:
    SystemdUserControl control() {
        return SystemdUserControl(
            {tool.program(), dir.file("systemd/user"), {"XDG_DATA_HOME=/home/u/data 100%"}});
    }
    QString agentFile(const QString& executable) {
        const QString path = dir.file(ResidentAgentPlan::plistFileName("pulse"));
        test::writeFile(path, PlistCodec::toXml(ResidentAgentPlan::plist("pulse", executable, 10)));
        return path;
    }
    QString unitFile() const { return dir.file("systemd/user/" + kUnit); }

    FakeTool tool;
    test::TempDir dir;
};

} // namespace

TEST_F(SystemdUserControlTest, BootstrapWritesTheUnitThenReloadsAndEnablesIt) {
    control().bootstrap(agentFile("/m/Pulse 1.app/Contents/MacOS/pulse"), kLabel);
    EXPECT_EQ(QString::fromUtf8(test::readFile(unitFile())),
              "[Unit]\nDescription=Ovrel background module vn.ovrel.module.pulse\n\n"
              "[Service]\nEnvironment=\"XDG_DATA_HOME=/home/u/data 100%%\"\n"
              "ExecStart=\"/m/Pulse 1.app/Contents/MacOS/pulse\"\n"
              "Restart=on-failure\nRestartSec=10\n\n[Install]\nWantedBy=default.target\n");
    EXPECT_EQ(tool.calls(), (QStringList{FakeTool::call({"--user", "daemon-reload"}),
                                         FakeTool::call({"--user", "enable", "--now", kUnit})}));
}

TEST_F(SystemdUserControlTest, CommandLinesEscapeWhatSystemdWouldExpand) {
    ResidentAgentFile agent{kLabel, {"/a/$HOME/%h/\"q\"\\"}, 7};
    const auto text = SystemdUserControl::unitText(agent, {});
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->contains("ExecStart=\"/a/$$HOME/%%h/\\\"q\\\"\\\\\"\n")) << text->constData();
    EXPECT_TRUE(text->contains("RestartSec=7\n"));
    agent.programArguments = {"/a/b\nExecStartPost=/bin/evil"};
    EXPECT_FALSE(SystemdUserControl::unitText(agent, {}));
}

TEST_F(SystemdUserControlTest, AFailedEnableLeavesNoUnitBehind) {
    tool.exitWith("enable", 1);
    try {
        control().bootstrap(agentFile("/m/Pulse.app/Contents/MacOS/pulse"), kLabel);
        FAIL() << "bootstrap succeeded";
    } catch (const ResidentError& error) {
        EXPECT_EQ(error, ResidentError::launchctlFailed(1));
    }
    EXPECT_FALSE(QFile::exists(unitFile()));
    EXPECT_EQ(tool.calls().last(), FakeTool::call({"--user", "daemon-reload"}));
}

TEST_F(SystemdUserControlTest, AnUnreadableAgentFileIsAWriteFailure) {
    test::writeFile(dir.file("broken.plist"), "not a plist");
    EXPECT_THROW(control().bootstrap(dir.file("broken.plist"), kLabel), ResidentError);
    EXPECT_TRUE(tool.calls().isEmpty());
}

TEST_F(SystemdUserControlTest, BootoutDisablesAndRemovesTheUnit) {
    control().bootstrap(agentFile("/m/Pulse.app/Contents/MacOS/pulse"), kLabel);
    control().bootout(kLabel);
    EXPECT_FALSE(QFile::exists(unitFile()));
    EXPECT_EQ(tool.calls().mid(2),
              (QStringList{FakeTool::call({"--user", "disable", "--now", kUnit}),
                           FakeTool::call({"--user", "daemon-reload"})}));
}

TEST_F(SystemdUserControlTest, AnUnknownUnitIsNotLoadedAndUnloadingItIsDone) {
    tool.exitWith("is-enabled", 1);
    EXPECT_FALSE(control().isLoaded(kLabel));
    EXPECT_NO_THROW(control().bootout(kLabel));
    const QString isEnabled = FakeTool::call({"--user", "is-enabled", "--quiet", kUnit});
    EXPECT_EQ(tool.calls(), (QStringList{isEnabled, isEnabled}));
}

TEST_F(SystemdUserControlTest, AFailedDisableKeepsTheUnitAndReportsTheStatus) {
    control().bootstrap(agentFile("/m/Pulse.app/Contents/MacOS/pulse"), kLabel);
    tool.exitWith("disable", 4);
    EXPECT_THROW(control().bootout(kLabel), ResidentError);
    EXPECT_TRUE(QFile::exists(unitFile()));
}

TEST_F(SystemdUserControlTest, UsableOnlyWhenTheManagerReadsThisConfigurationFolder) {
    const QString configHome = dir.path();
    tool.print("LANG=C\nHOME=/home/u\nXDG_CONFIG_HOME=" + configHome.toUtf8() + "\n");
    EXPECT_TRUE(control().isUsable());
    tool.print("HOME=/home/u\n");
    EXPECT_FALSE(control().isUsable()) << "a sandboxed hub writes units the manager never reads";
    tool.exitWith("show-environment", 1);
    EXPECT_FALSE(control().isUsable());
    EXPECT_FALSE(SystemdUserControl({"/nonexistent/systemctl", dir.path(), {}}).isUsable());
}
