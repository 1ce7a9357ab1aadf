#include "OvrelModuleKit/paths/ModulePaths.h"

#include <gtest/gtest.h>

using ovrel::ModulePaths;

TEST(ModulePaths, DerivesEveryLocationFromTheRoot) {
    const ModulePaths paths("/r/Ovrel/");
    EXPECT_EQ(paths.root(), "/r/Ovrel");
    EXPECT_EQ(paths.modulesDir(), "/r/Ovrel/Modules");
    EXPECT_EQ(paths.settingsDir(), "/r/Ovrel/ModuleSettings");
    EXPECT_EQ(paths.stagingDir(), "/r/Ovrel/.staging");
    EXPECT_EQ(paths.secretsDir(), "/r/Ovrel/secrets");
    EXPECT_EQ(paths.hostFile(), "/r/Ovrel/host.json");
    EXPECT_EQ(paths.stateFile(), "/r/Ovrel/modules-state.json");
    EXPECT_EQ(paths.syncStateFile(), "/r/Ovrel/sync-state.json");
    EXPECT_EQ(paths.inputPassthroughFile(), "/r/Ovrel/input-passthrough.json");
    EXPECT_EQ(paths.moduleDir("clock"), "/r/Ovrel/Modules/clock");
    EXPECT_EQ(paths.bundle("clock", "Clock.app"), "/r/Ovrel/Modules/clock/Clock.app");
    EXPECT_EQ(paths.inboxFile("clock"), "/r/Ovrel/Modules/clock/inbox.json");
    EXPECT_EQ(paths.dynamicMenuFile("clock"), "/r/Ovrel/Modules/clock/menu.json");
    EXPECT_EQ(paths.permissionsFile("clock"), "/r/Ovrel/Modules/clock/permissions.json");
    EXPECT_EQ(paths.startupLogFile("clock"), "/r/Ovrel/Modules/clock/startups.json");
    EXPECT_EQ(paths.settingsFile("clock"), "/r/Ovrel/ModuleSettings/clock.json");
    EXPECT_EQ(paths.secretFile("session"), "/r/Ovrel/secrets/session.bin");
    EXPECT_EQ(ModulePaths::manifestFile("/x/Clock.app"),
              "/x/Clock.app/Contents/Resources/manifest.json");
    EXPECT_EQ(ModulePaths::manifestFile("/x/Clock.app/"),
              "/x/Clock.app/Contents/Resources/manifest.json");
    EXPECT_TRUE(ModulePaths("/r/Ovrel") == paths);
}

TEST(ModulePaths, DefaultRootFollowsXdgDataHome) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/tmp/xdg-data");
    EXPECT_EQ(ModulePaths::defaultRoot(), "/tmp/xdg-data/Ovrel");
    qputenv("XDG_DATA_HOME", "relative/ignored");
    EXPECT_TRUE(ModulePaths::defaultRoot().endsWith("/.local/share/Ovrel"));
    qputenv("XDG_DATA_HOME", saved);
}

TEST(ModulePaths, ModuleIdRule) {
    EXPECT_TRUE(ModulePaths::isValidModuleId("a"));
    EXPECT_TRUE(ModulePaths::isValidModuleId("abcdefghijklmnopqrstuvwxyz-01234"));
    EXPECT_FALSE(ModulePaths::isValidModuleId("abcdefghijklmnopqrstuvwxyz-012345"));
    EXPECT_FALSE(ModulePaths::isValidModuleId(""));
    for (const char* bad : {"Clock", "my_mod", "a.b", "a/b", "a b", "..", "-\n"})
        EXPECT_FALSE(ModulePaths::isValidModuleId(QString::fromUtf8(bad))) << bad;
    EXPECT_FALSE(ModulePaths::isValidModuleId(QString::fromUtf8("đồng-hồ")));
    EXPECT_FALSE(ModulePaths::isValidModuleId(QString::fromUtf8("ｃlock"))); // full-width letter
}
