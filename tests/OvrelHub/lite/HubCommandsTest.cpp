#include "FakeWorkspace.h"
#include "InstallFixture.h"
#include "OvrelConfig/HubLanguage.h"
#include "OvrelHub/runner/ModuleRunner.h"
#include "OvrelHub/store/ModuleStore.h"
#include "OvrelLite/commandline/HubCommandLine.h"

#include <gtest/gtest.h>

using namespace ovrel;

namespace {

// The commands over a store of their own, with a counter where the hub
// would refresh its menu.
struct HubCommandsTest : ::testing::Test {
    test::TempDir dir;
    ModulePaths paths{dir.file("Ovrel")};
    ModuleStateStore state{paths};
    ModuleSignatureVerifier verifier{QStringList{test::testIdentity().leafHash()}};
    test::FakeWorkspace workspace;
    ModuleStore store{{.state = state, .verifier = verifier, .workspace = workspace}};
    std::vector<BlockedLaunchAlert::Texts> alerts;
    ModuleRunner runner{paths, state, verifier, workspace,
                        ModuleRunner::Hooks{[] { return QStringLiteral("6.1.0"); },
                                            [this](const auto& texts) { alerts.push_back(texts); },
                                            [](const QString&) {}}};
    QObject mainThread;
    int modulesChanged = 0;
    HubCommandContext context{store,
                              state,
                              runner,
                              workspace,
                              &mainThread,
                              [] { return AppLanguage::en; },
                              [this] { ++modulesChanged; },
                              [] { return QtFuture::makeReadyFuture(QStringLiteral("menu\n")); }};

    // The runner's alert and the command's texts speak the same language.
    void SetUp() override {
        HubLanguage::setProvider([] { return AppLanguage::en; });
    }
    void TearDown() override { HubLanguage::setProvider({}); }

    CommandLineOutcome run(const QStringList& arguments) {
        const auto parsed = HubCommandLine::parse(arguments, dir.path());
        return test::await(HubCommandLine::run(parsed, context));
    }
    QString signedBundle(const QString& id, const QJsonObject& extra = {}) {
        test::TestBundle bundle;
        bundle.id = id;
        bundle.appName = id + ".app";
        bundle.extraManifestKeys = extra;
        return test::writeSignedBundle(dir.file("bundles/" + id), bundle, test::testIdentity());
    }
};

} // namespace

TEST_F(HubCommandsTest, InstallsInOrderReportingEachBundleAndRefreshesOnceForAnySuccess) {
    const QString good = signedBundle("clock");
    test::TestBundle stranger;
    stranger.id = "pulse";
    const QString unsignedBundle = test::writeModuleBundle(dir.file("bundles/u"), stranger.spec());
    const CommandLineOutcome outcome = run({"--install", good, unsignedBundle, "bundles/none"});
    EXPECT_EQ(outcome.status, ExitStatus::failure);
    EXPECT_EQ(outcome.output, "clock 1.0.0: Installed\n");
    EXPECT_TRUE(outcome.errors.startsWith(unsignedBundle + ": Install failed:"))
        << qPrintable(outcome.errors);
    EXPECT_TRUE(outcome.errors.endsWith(dir.file("bundles/none") +
                                        QString::fromUtf8(": Không đọc được manifest trong "
                                                          "bundle đó.\n")))
        << "a relative path is read from the caller's directory";
    EXPECT_EQ(modulesChanged, 1);
    EXPECT_TRUE(state.load().installed.count("clock"));

    modulesChanged = 0;
    EXPECT_EQ(run({"--install", unsignedBundle}).status, ExitStatus::failure);
    EXPECT_EQ(modulesChanged, 0) << "nothing changed, nothing to refresh";
}

TEST_F(HubCommandsTest, UninstallKeepsOrDeletesSettingsAndRefreshes) {
    ASSERT_EQ(run({"--install", signedBundle("clock")}).status, 0);
    test::writeFile(paths.settingsFile("clock"), "{}");
    modulesChanged = 0;
    EXPECT_EQ(run({"--uninstall", "clock", "--keep-settings"}), CommandLineOutcome::success());
    EXPECT_TRUE(QFileInfo::exists(paths.settingsFile("clock")));
    EXPECT_FALSE(state.load().installed.count("clock"));
    EXPECT_EQ(modulesChanged, 1);

    ASSERT_EQ(run({"--install", signedBundle("clock")}).status, 0);
    EXPECT_EQ(run({"--uninstall", "clock"}).status, 0);
    EXPECT_FALSE(QFileInfo::exists(paths.settingsFile("clock")));
    EXPECT_EQ(run({"--uninstall", "clock"}).errors, "clock: Not installed\n");
}

TEST_F(HubCommandsTest, SendTellsWhyACommandWasNotHandedOver) {
    ASSERT_EQ(run({"--install", signedBundle("clock")}).status, 0);
    EXPECT_EQ(run({"--send", "clock", "open"}), CommandLineOutcome::success());
    ASSERT_EQ(workspace.openRequests.size(), 1);

    // A module that asks for a newer system than this one.
    test::TestBundle newer;
    newer.id = "pulse";
    newer.appName = "Pulse.app";
    const QString pulse =
        test::writeSignedBundle(dir.file("bundles/p"), newer, test::testIdentity());
    ASSERT_EQ(run({"--install", pulse}).status, 0);
    test::writeFile(paths.bundle("pulse", "Pulse.app") + "/Contents/Resources/manifest.json",
                    test::manifestBytes("pulse", "1.0.0", {{"minMacOS", "99.0"}}));
    const CommandLineOutcome blocked = run({"--send", "pulse", "open"});
    EXPECT_EQ(blocked.status, ExitStatus::failure);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(blocked.errors, alerts.front().informative + "\n");

    EXPECT_EQ(run({"--send", "ghost", "open", "arg"}).errors, "ghost: Not installed\n");
    EXPECT_EQ(run({"--print-menu"}).output, "menu\n");
}
