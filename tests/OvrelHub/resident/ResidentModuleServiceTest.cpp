#include "OvrelHub/resident/ResidentModuleService.h"
#include "FakeResidentControl.h"
#include "InstallFixture.h"
#include "OvrelHub/resident/ResidentAgentPlan.h"
#include "OvrelHub/resident/ResidentError.h"
#include "Platform/plist/PlistCodec.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

class ResidentModuleServiceTest : public ::testing::Test {
protected:
    QString bundleWithExecutable(const QByteArray& infoPlist) {
        const QString bundle = dir.file("Pulse.app");
        test::writeFile(bundle + "/Contents/Info.plist", infoPlist);
        return bundle;
    }
    static QByteArray info(const QVariant& executable) {
        QVariantMap map{{"CFBundleIdentifier", "vn.ovrel.module.pulse"}};
        if (executable.isValid())
            map.insert("CFBundleExecutable", executable);
        return PlistCodec::toXml(map);
    }
    QString agentFile(const QString& id) const { return service.plistFile(id); }

    test::TempDir dir;
    test::FakeResidentControl control;
    ResidentModuleService service{ModulePaths(dir.file("Ovrel")), dir.file("LaunchAgents"),
                                  control};
};

} // namespace

TEST_F(ResidentModuleServiceTest, RegisterWritesTheAgentAndLoadsIt) {
    const QString bundle = bundleWithExecutable(info("pulse"));
    service.registerModule("pulse", bundle);
    EXPECT_EQ(control.calls, QStringList{"bootstrap vn.ovrel.module.pulse"});
    EXPECT_TRUE(control.bootstrappedFileExisted);
    EXPECT_TRUE(service.isRegistered("pulse"));
    const auto plist = PlistCodec::parse(test::readFile(agentFile("pulse")));
    ASSERT_TRUE(plist);
    EXPECT_EQ(plist->toMap(),
              ResidentAgentPlan::plist("pulse", bundle + "/Contents/MacOS/pulse", 10));
    EXPECT_TRUE(test::readFile(agentFile("pulse")).startsWith("<?xml version=\"1.0\""));
}

TEST_F(ResidentModuleServiceTest, RegisteringAgainUnloadsFirstSoANewExecutableIsUsed) {
    service.registerModule("pulse", bundleWithExecutable(info("pulse")));
    service.registerModule("pulse", bundleWithExecutable(info("pulse2")));
    EXPECT_EQ(control.calls,
              (QStringList{"bootstrap vn.ovrel.module.pulse", "bootout vn.ovrel.module.pulse",
                           "bootstrap vn.ovrel.module.pulse"}));
    EXPECT_TRUE(test::readFile(agentFile("pulse")).contains("MacOS/pulse2"));
}

TEST_F(ResidentModuleServiceTest, ABundleWithoutAUsableExecutableTouchesNothing) {
    for (const QVariant& executable :
         {QVariant(""), QVariant(), QVariant(qint64(3)), QVariant("../../bin/sh")}) {
        EXPECT_THROW(service.registerModule("pulse", bundleWithExecutable(info(executable))),
                     ResidentError);
    }
    EXPECT_THROW(service.registerModule("pulse", dir.file("Missing.app")), ResidentError);
    test::writeFile(dir.file("Array.app/Contents/Info.plist"), PlistCodec::toXml(QVariantList{}));
    EXPECT_FALSE(ResidentAgentPlan::executableURL(dir.file("Array.app")));
    EXPECT_TRUE(control.calls.isEmpty());
    EXPECT_FALSE(QDir(dir.file("LaunchAgents")).exists());
}

TEST_F(ResidentModuleServiceTest, AFailedLoadLeavesNoAgentFile) {
    control.failBootstrap = true;
    EXPECT_THROW(service.registerModule("pulse", bundleWithExecutable(info("pulse"))),
                 ResidentError);
    EXPECT_FALSE(QFile::exists(agentFile("pulse")));
}

TEST_F(ResidentModuleServiceTest, AnUnwritableAgentsFolderIsAWriteFailure) {
    test::writeFile(dir.file("blocked"), "a file, not a folder");
    ResidentModuleService blocked(ModulePaths(dir.file("Ovrel")), dir.file("blocked/LaunchAgents"),
                                  control);
    try {
        blocked.registerModule("pulse", bundleWithExecutable(info("pulse")));
        FAIL() << "registered into a file";
    } catch (const ResidentError& error) {
        EXPECT_EQ(error, ResidentError::plistWriteFailed());
    }
}

TEST_F(ResidentModuleServiceTest, UnregisterUnloadsThenDeletesAndAFailedUnloadKeepsTheFile) {
    service.registerModule("pulse", bundleWithExecutable(info("pulse")));
    control.failBootout = true;
    EXPECT_THROW(service.unregisterModule("pulse"), ResidentError);
    EXPECT_TRUE(QFile::exists(agentFile("pulse")));
    control.failBootout = false;
    service.unregisterModule("pulse");
    EXPECT_FALSE(QFile::exists(agentFile("pulse")));
    EXPECT_FALSE(service.isRegistered("pulse"));
    EXPECT_NO_THROW(service.unregisterModule("pulse"));
}

TEST_F(ResidentModuleServiceTest, DiscoveryTakesLoadedAgentsAndOnlyFilesOfTheHubsForm) {
    control.loaded = {"vn.ovrel.module.clock"};
    for (const QString& name :
         QStringList{"vn.ovrel.module.gone.plist", "vn.ovrel.module..plist",
                     "vn.ovrel.module." + QString(33, 'a') + ".plist", "com.example.agent.plist",
                     "vn.ovrel.module.Bad_Id.plist", "vn.ovrel.module.notes.plist.bak"})
        test::writeFile(dir.file("LaunchAgents/" + name), "x");
    EXPECT_EQ(service.discoverRegistered({"clock", "pulse"}), (QSet<QString>{"clock", "gone"}));
}
