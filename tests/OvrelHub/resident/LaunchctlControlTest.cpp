#include "OvrelHub/resident/LaunchctlControl.h"
#include "FakeTool.h"
#include "OvrelHub/resident/ResidentError.h"
#include "Platform/process/ToolProcess.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace ovrel;

namespace {
const QString kLabel = "vn.ovrel.module.pulse";
QString target() {
    return "gui/" + QString::number(::getuid()) + "/" + kLabel;
}
} // namespace

TEST(LaunchctlControlTest, EachOperationRunsItsArgumentVector) {
    test::FakeTool tool;
    LaunchctlControl control(tool.program());
    control.bootstrap("/agents/vn.ovrel.module.pulse.plist", kLabel);
    control.bootout(kLabel);
    EXPECT_TRUE(control.isLoaded(kLabel));
    EXPECT_EQ(tool.calls(),
              (QStringList{test::FakeTool::call({"bootstrap", "gui/" + QString::number(::getuid()),
                                                 "/agents/vn.ovrel.module.pulse.plist"}),
                           test::FakeTool::call({"bootout", target()}),
                           test::FakeTool::call({"print", target()})}));
}

TEST(LaunchctlControlTest, StatusesDecideSuccess) {
    test::FakeTool tool;
    LaunchctlControl control(tool.program());
    // Not loaded: unloading is done, so unregistering twice succeeds.
    tool.exitWith("bootout", 3);
    EXPECT_NO_THROW(control.bootout(kLabel));
    tool.exitWith("bootout", 5);
    try {
        control.bootout(kLabel);
        FAIL() << "bootout with status 5 succeeded";
    } catch (const ResidentError& error) {
        EXPECT_EQ(error, ResidentError::launchctlFailed(5));
    }
    tool.exitWith("bootstrap", 3);
    EXPECT_THROW(control.bootstrap("/p.plist", kLabel), ResidentError);
    tool.exitWith("print", 113);
    EXPECT_FALSE(control.isLoaded(kLabel));
}

TEST(LaunchctlControlTest, AToolThatCannotStartIsTheLaunchErrorItself) {
    LaunchctlControl control("/nonexistent/launchctl");
    EXPECT_THROW(control.bootstrap("/p.plist", kLabel), ToolProcess::LaunchError);
    EXPECT_THROW(control.bootout(kLabel), ToolProcess::LaunchError);
    EXPECT_FALSE(control.isLoaded(kLabel));
}
