#include "ModuleRunnerFixture.h"
#include "OvrelConfig/HubLanguage.h"
#include "OvrelConfig/Loc.h"
#include "Platform/system/SystemLog.h"

#include <QDir>
#include <QFileInfo>

using namespace ovrel;
using namespace ovrel::test;

namespace {

const QString kClock = QStringLiteral("clock");

class ModuleRunnerChecks : public ModuleRunnerTest {
protected:
    void TearDown() override { HubLanguage::setProvider({}); }

    void expectNothingDone() {
        EXPECT_TRUE(workspace.openRequests.isEmpty());
        EXPECT_TRUE(events.isEmpty()) << events.join(u';').toStdString();
        EXPECT_FALSE(QFileInfo::exists(paths.inboxFile(kClock)));
    }
};

} // namespace

TEST_F(ModuleRunnerChecks, ModuleThatIsNotInstalledIsIgnoredSilently) {
    // A bundle on disk is not enough: only the state file says what is installed.
    writeModuleBundle(paths.moduleDir(kClock));
    SystemLogCapture log;
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    expectNothingDone();
    EXPECT_EQ(verifier.calls.load(), 0);
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join(u'\n').toStdString();
}

TEST_F(ModuleRunnerChecks, InvalidIdsFromTheStateFileNeverBecomePaths) {
    // A tampered state file lists modules whose ids climb out of the tree.
    for (const QString& id :
         {QStringLiteral("../escape"), QStringLiteral("Clock"), QStringLiteral(".."), QString()}) {
        writeModuleBundle(QDir::cleanPath(paths.modulesDir() + QLatin1Char('/') + id));
        record(id, QStringLiteral("Clock.app"));
        runner.send(QStringLiteral("open"), std::nullopt, id);
        EXPECT_FALSE(QFileInfo::exists(paths.inboxFile(id))) << id.toStdString();
    }
    EXPECT_EQ(store.load().installed.size(), 4u);
    EXPECT_EQ(verifier.calls.load(), 0);
    EXPECT_TRUE(workspace.openRequests.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(paths.root() + QStringLiteral("/escape/inbox.json")));
}

TEST_F(ModuleRunnerChecks, BundleNamesThatLeaveTheModuleDirectoryAreRefused) {
    // A signed bundle elsewhere (another module, the staging area) must not be
    // opened because the state file points at it.
    const QString elsewhere = install(QStringLiteral("other"), std::nullopt);
    for (const QString& appName :
         {QStringLiteral("../other/Clock.app"), elsewhere, QStringLiteral(".."),
          QStringLiteral("."), QString(), QStringLiteral("Clock.app\n")}) {
        record(kClock, appName);
        runner.send(QStringLiteral("open"), std::nullopt, kClock);
        EXPECT_FALSE(runner.verifySigned(kClock, appName)) << appName.toStdString();
    }
    EXPECT_EQ(verifier.calls.load(), 0);
    expectNothingDone();
}

TEST_F(ModuleRunnerChecks, MissingManifestOnlySkipsTheSystemCheck) {
    const QString bundle = install();
    QFile::remove(ModulePaths::manifestFile(bundle));
    systemVersion = QStringLiteral("1.0.0");
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(verifier.calls.load(), 1);
    ASSERT_EQ(workspace.openRequests.size(), 1);
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(ModuleRunnerChecks, ManifestFaultsOtherThanMinMacOSDoNotBlock) {
    // Only a malformed minMacOS blocks; other faults are left to the signature check.
    for (const QByteArray& manifest :
         {QByteArray("not json"), manifestFor(QStringLiteral("other"), QStringLiteral("99")),
          QByteArray(R"({"id":"clock","minMacOS":"99"})")}) {
        install(kClock, manifest);
        runner.send(QStringLiteral("open"), std::nullopt, kClock);
    }
    EXPECT_EQ(workspace.openRequests.size(), 3);
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(ModuleRunnerChecks, NewerSystemRequirementBlocksWithAnAlertAndALogLine) {
    install(kClock, manifestFor(kClock, QStringLiteral("15")));
    HubLanguage::setProvider([] { return AppLanguage::en; });
    SystemLogCapture log;
    runner.send(QStringLiteral("open"), std::nullopt, kClock);

    EXPECT_EQ(log.lines(),
              QStringList{QStringLiteral(
                  "Ovrel: module clock cần macOS 15 trở lên (máy này 14.5.0) — không mở")});
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0].message, kClock);
    EXPECT_EQ(alerts[0].informative, QStringLiteral("Requires system version 15 or newer"));
    EXPECT_EQ(alerts[0].button, QStringLiteral("Close"));
    EXPECT_EQ(verifier.calls.load(), 0);
    expectNothingDone();
}

TEST_F(ModuleRunnerChecks, BlockedAlertSpeaksTheInterfaceLanguage) {
    install(kClock, manifestFor(kClock, QStringLiteral("15")));
    HubLanguage::setProvider([] { return AppLanguage::vi; });
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    HubLanguage::setProvider([] { return AppLanguage::ja; });
    runner.send(QStringLiteral("open"), std::nullopt, kClock);

    ASSERT_EQ(alerts.size(), 2);
    EXPECT_EQ(alerts[0].informative,
              Loc::format(LocKey::appsNeedsMacOSFormat, AppLanguage::vi, {QStringLiteral("15")}));
    EXPECT_EQ(alerts[0].button, Loc::t(LocKey::close, AppLanguage::vi));
    EXPECT_EQ(alerts[1].informative,
              Loc::format(LocKey::appsNeedsMacOSFormat, AppLanguage::ja, {QStringLiteral("15")}));
    EXPECT_NE(alerts[0].informative, alerts[1].informative);
    EXPECT_NE(alerts[0].informative, QStringLiteral("Requires system version 15 or newer"));
}

TEST_F(ModuleRunnerChecks, EqualOrOlderRequirementOpens) {
    for (const QString& required : {QStringLiteral("14.5"), QStringLiteral("14.5.0"),
                                    QStringLiteral("14"), QStringLiteral("9.9.9")}) {
        install(kClock, manifestFor(kClock, required));
        runner.send(QStringLiteral("open"), std::nullopt, kClock);
    }
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_EQ(workspace.openRequests.size(), 4);
}

TEST_F(ModuleRunnerChecks, MalformedRequirementBlocksNamingTheModuleTwice) {
    install(kClock, manifestFor(kClock, QStringLiteral("15.a")));
    HubLanguage::setProvider([] { return AppLanguage::en; });
    SystemLogCapture log;
    runner.send(QStringLiteral("open"), std::nullopt, kClock);

    EXPECT_EQ(log.lines(),
              QStringList{QStringLiteral(
                  "Ovrel: module clock khai minMacOS không hợp lệ \"15.a\" — không mở")});
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0].message, kClock);
    EXPECT_EQ(
        alerts[0].informative,
        QStringLiteral(
            "Could not open clock: its manifest declares an invalid system version requirement "
            "(\"15.a\")"));
    EXPECT_EQ(verifier.calls.load(), 0);
    expectNothingDone();
}

TEST_F(ModuleRunnerChecks, MalformedRequirementCannotForgeLogLines) {
    // The manifest is read before the signature is checked: its text is hostile.
    install(kClock, manifestFor(kClock, QStringLiteral("15\nOvrel: forged")));
    SystemLogCapture log;
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_EQ(
        log.lines()[0],
        QStringLiteral(
            "Ovrel: module clock khai minMacOS không hợp lệ \"15\\nOvrel: forged\" — không mở"));
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_FALSE(alerts[0].informative.contains(QLatin1Char('\n')));
}

TEST_F(ModuleRunnerChecks, FailedSignatureIsLoggedAndNothingIsWritten) {
    install();
    verifier.failure = SignatureError::rejected(-67050);
    SystemLogCapture log;
    runner.send(QStringLiteral("open"), QStringLiteral("x"), kClock);
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral(
                               "Ovrel: module clock không qua được xác minh chữ ký — không mở")});
    EXPECT_EQ(verifier.calls.load(), 1);
    EXPECT_TRUE(alerts.isEmpty());
    expectNothingDone();
}

TEST_F(ModuleRunnerChecks, BundleWithoutSealedResourcesIsRefusedWithoutCheckingIt) {
    const QString bundle = install();
    QFile::remove(bundle + QStringLiteral("/Contents/_CodeSignature/CodeResources"));
    SystemLogCapture log;
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral(
                               "Ovrel: module clock không qua được xác minh chữ ký — không mở")});
    EXPECT_EQ(verifier.calls.load(), 0);
    expectNothingDone();
}

TEST_F(ModuleRunnerChecks, TheVerifierChecksTheInstalledBundleUnderItsId) {
    const QString bundle = install();
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(verifier.checked, QStringList{kClock + QLatin1Char(':') + bundle});
    ASSERT_EQ(workspace.openRequests.size(), 1);
    EXPECT_EQ(workspace.openRequests[0].bundlePath, bundle);
}
