#include "OvrelHub/account/SyncStateStore.h"
#include "Platform/plist/UserDefaults.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;

namespace {
const QString kStream = QStringLiteral("moduleSettings");
}

TEST(SyncStateStore, ReadsOnlyACompleteFileAndOtherwiseStartsFresh) {
    TempDir dir;
    const QString file = dir.file("sync-state.json");
    const QByteArray unreadable[] = {
        R"({"syncEnabled":false,"sharedAcrossPlatforms":true})",
        R"({"syncEnabled":"false","sharedAcrossPlatforms":true,"streams":{}})",
        R"({"syncEnabled":false,"sharedAcrossPlatforms":true,"streams":{"m":{"version":1.5,"dirty":false}}})",
        R"({"syncEnabled":false,"sharedAcrossPlatforms":true,"streams":{"m":{"version":1}}})",
        "not json",
        "",
    };
    for (const QByteArray& bytes : unreadable) {
        writeFile(file, bytes);
        const SyncStateStore store(file);
        EXPECT_EQ(store.state(), SyncStateStore::State{}) << bytes.constData();
        EXPECT_TRUE(store.syncEnabled());
    }
    writeFile(file, R"({"syncEnabled":false,"sharedAcrossPlatforms":false,)"
                    R"("streams":{"moduleSettings":{"version":7,"dirty":true}}})");
    const SyncStateStore store(file);
    EXPECT_FALSE(store.syncEnabled());
    EXPECT_FALSE(store.sharedAcrossPlatforms());
    EXPECT_EQ(store.version(kStream), 7);
    EXPECT_TRUE(store.isDirty(kStream));
    EXPECT_EQ(store.version("other"), 0);
}

TEST(SyncStateStore, EveryChangeIsSavedCompactlyAtOnce) {
    TempDir dir;
    const QString file = dir.file("root/sync-state.json");
    SyncStateStore store(file);
    store.setDirty(kStream, true);
    EXPECT_EQ(
        readFile(file),
        R"({"sharedAcrossPlatforms":true,"streams":{"moduleSettings":{"dirty":true,"version":0}},"syncEnabled":true})");
    store.setVersion(kStream, 9);
    store.setSyncEnabled(false);
    EXPECT_EQ(SyncStateStore(file).state(), store.state());
    EXPECT_TRUE(SyncStateStore(file).isDirty(kStream)) << "a version change keeps the flag";
}

TEST(SyncStateStore, MigratesTheOldPreferencesOnceAndThenDropsThem) {
    TempDir dir;
    UserDefaults defaults("vn.ovrel.lite", dir.file("config"));
    defaults.setValues({{"sync.moduleSettings.version", 3},
                        {"sync.shorthand.dirty", true},
                        {"syncEnabled", QStringLiteral("false")},
                        {"unrelated", 1}});
    const QStringList names{"settings", "shorthand", "moduleSettings"};
    SyncStateStore store(dir.file("sync-state.json"));
    store.migrateIfNeeded(defaults, names);
    EXPECT_EQ(store.state().streams.value(kStream), (SyncStateStore::Entry{3, false}));
    EXPECT_EQ(store.state().streams.value("shorthand"), (SyncStateStore::Entry{0, true}));
    EXPECT_FALSE(store.state().streams.contains("settings"));
    EXPECT_TRUE(store.syncEnabled()) << "only a stored Boolean switches sync off";
    EXPECT_FALSE(defaults.contains("sync.moduleSettings.version"));
    EXPECT_FALSE(defaults.contains("syncEnabled"));
    EXPECT_TRUE(defaults.contains("unrelated"));

    // Once the file exists, old keys that reappear are left alone.
    defaults.set("sync.moduleSettings.version", 8);
    store.migrateIfNeeded(defaults, names);
    EXPECT_EQ(store.version(kStream), 3);
    EXPECT_TRUE(defaults.contains("sync.moduleSettings.version"));
}

TEST(SyncStateStore, AFailedMigrationKeepsTheOldKeysForTheNextStart) {
    TempDir dir;
    UserDefaults defaults("vn.ovrel.lite", dir.file("config"));
    defaults.set("sync.moduleSettings.version", 3);
    writeFile(dir.file("blocker"), "a file where the directory should be");
    SyncStateStore store(dir.file("blocker/sync-state.json"));
    store.migrateIfNeeded(defaults, {"moduleSettings"});
    EXPECT_EQ(store.version(kStream), 3) << "the state in memory still holds";
    EXPECT_TRUE(defaults.contains("sync.moduleSettings.version"));
}

// Run by the next test in a process of its own, which it kills.
TEST(SyncStateStoreChild, WritesUntilKilled) {
    const QString file = qEnvironmentVariable("OVREL_SYNC_STATE_WRITER");
    if (file.isEmpty())
        GTEST_SKIP() << "only as the child of KillDuringWritesLeavesOldOrNewFile";
    SyncStateStore store(file);
    for (qint64 version = 1;; ++version) {
        store.setVersion(kStream, version);
        store.setDirty(kStream, version % 2 == 0);
    }
}

TEST(SyncStateStore, KillDuringWritesLeavesTheOldOrTheNewFile) {
    TempDir dir;
    const QString file = dir.file("sync-state.json");
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("OVREL_SYNC_STATE_WRITER", file);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=SyncStateStoreChild.WritesUntilKilled"});
    ASSERT_TRUE(child.waitForStarted());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return SyncStateStore(file).version(kStream) > 200; }, 60000));
    child.kill();
    child.waitForFinished();
    const auto state = SyncStateStore::decode(readFile(file));
    ASSERT_TRUE(state);
    EXPECT_GT(state->streams.value(kStream).version, 200);
}
