#include "ManifestFixture.h"
#include "TestSupport.h"

#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/settings/ModuleSettings.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "Platform/notify/DarwinNotify.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ovrel;
using namespace ovrel::test;

namespace {

ModuleManifest clockManifest() {
    return clockSettingsManifest(20);
}

class ModuleSettingsStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    ModulePaths paths{dir.path()};
    ModuleSettingsStore store{paths};
    ModuleManifest manifest = clockManifest();
    SettingsMap defaults = store.load("clock", manifest); // no file yet

    SettingsMap loadFile(const QByteArray& bytes) {
        writeFile(paths.settingsFile("clock"), bytes);
        return store.load("clock", manifest);
    }
};

} // namespace

TEST_F(ModuleSettingsStoreTest, MissingFileLoadsTheDefaults) {
    EXPECT_EQ(defaults, ModuleSettings::defaults(manifest));
    EXPECT_FALSE(QFile::exists(paths.settingsFile("clock")));
}

TEST_F(ModuleSettingsStoreTest, SaveWritesSortedPrettyJsonThatLoadsBack) {
    const SettingsMap values{{"style", SettingValue::fromString("analog")},
                             {"size", SettingValue::fromInt(40)},
                             {"seconds", SettingValue::fromBool(false)},
                             {"format", SettingValue::fromString("H \"h\"")}};
    store.save(values, "clock");
    EXPECT_EQ(readFile(paths.settingsFile("clock")),
              "{\n  \"format\" : \"H \\\"h\\\"\",\n  \"seconds\" : false,\n  \"size\" : 40,\n"
              "  \"style\" : \"analog\"\n}");
    EXPECT_EQ(store.load("clock", manifest), values);
}

TEST_F(ModuleSettingsStoreTest, SaveWritesTheMapUnchanged) {
    // Validation happens when reading; the file keeps what the caller passed.
    const SettingsMap values{{"size", SettingValue::fromInt(std::numeric_limits<qint64>::max())},
                             {"extra", SettingValue::fromString("kept")}};
    store.save(values, "clock");
    EXPECT_EQ(ModuleSettingsStore::readFile(paths.settingsFile("clock")), values);
    SettingsMap expected = defaults;
    EXPECT_EQ(store.load("clock", manifest), expected);
}

TEST_F(ModuleSettingsStoreTest, StoredValuesAreReconciledKeyByKey) {
    SettingsMap expected = defaults;
    expected["style"] = SettingValue::fromString("analog");
    EXPECT_EQ(loadFile(R"({"style":"analog","size":50e9,"seconds":"true","gone":1})"), expected);
    EXPECT_EQ(loadFile(R"({"size":50})"), [&] {
        SettingsMap m = defaults;
        m["size"] = SettingValue::fromInt(50);
        return m;
    }());
}

TEST_F(ModuleSettingsStoreTest, OneUndecodableValueMakesTheWholeFileDefaults) {
    EXPECT_EQ(loadFile(R"({"style":"analog","size":1.5})"), defaults);
    EXPECT_EQ(loadFile(R"({"style":"analog","other":null})"), defaults);
    EXPECT_EQ(loadFile(R"({"style":"analog","other":[1]})"), defaults);
    EXPECT_EQ(loadFile(R"({"style":"analog","other":{}})"), defaults);
}

TEST_F(ModuleSettingsStoreTest, DamagedFilesLoadTheDefaults) {
    const QByteArray good = R"({"style":"analog","size":50,"seconds":false})";
    for (qsizetype n = 0; n < good.size(); ++n)
        EXPECT_EQ(loadFile(good.left(n)), defaults) << n;
    EXPECT_EQ(loadFile("[\"style\"]"), defaults);
    EXPECT_EQ(loadFile("\"analog\""), defaults);
    EXPECT_EQ(loadFile(QByteArray("\x00\x01\xff garbage", 12)), defaults);
    EXPECT_EQ(loadFile("{\"style\":\"an\xfflog\"}"), defaults);
    EXPECT_EQ(loadFile(QByteArray(200000, '[') + QByteArray(200000, ']')), defaults);
    EXPECT_EQ(loadFile("{\"style\":\"analog\",\"x\":\"" +
                       QByteArray(ModuleSettingsStore::kMaxFileSize, 'a') + "\"}"),
              defaults);
}

TEST_F(ModuleSettingsStoreTest, NonRegularFilesLoadTheDefaults) {
    const QString file = paths.settingsFile("clock");
    QDir().mkpath(file); // a directory named like the file
    EXPECT_EQ(store.load("clock", manifest), defaults);
    QDir().rmdir(file);
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    EXPECT_EQ(store.load("clock", manifest), defaults);
}

// Notifications are seen by every process on the bus, and tests run side by
// side: these use an id of their own.
namespace {
QString uniqueModuleId() {
    return QStringLiteral("n%1").arg(QRandomGenerator::global()->generate64(), 16, 16,
                                     QLatin1Char('0'));
}
} // namespace

TEST_F(ModuleSettingsStoreTest, SavePostsTheSettingsNotificationOnce) {
    const QString id = uniqueModuleId();
    const QString otherId = uniqueModuleId();
    int posted = 0;
    int other = 0;
    const auto token = DarwinNotify::observe(ModuleNotify::settingsName(id), [&] { ++posted; });
    const auto otherToken =
        DarwinNotify::observe(ModuleNotify::settingsName(otherId), [&] { ++other; });
    if (!token->isConnected())
        GTEST_SKIP() << "no D-Bus session bus";

    store.save({{"size", SettingValue::fromInt(9)}}, id);
    EXPECT_TRUE(QTest::qWaitFor([&] { return posted > 0; }));
    // Give a duplicate the chance to arrive.
    QTest::qWait(100);
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(other, 0);
}

TEST_F(ModuleSettingsStoreTest, FailedSaveThrowsAndPostsNothing) {
    const QString id = uniqueModuleId();
    int posted = 0;
    const auto token = DarwinNotify::observe(ModuleNotify::settingsName(id), [&] { ++posted; });
    // A file where the directory should be makes the write fail.
    writeFile(paths.settingsDir(), "not a directory");
    EXPECT_THROW(store.save({{"size", SettingValue::fromInt(9)}}, id), FileError);
    // A successful save for another id afterwards proves notifications flow.
    const ModuleSettingsStore working{ModulePaths(dir.file("elsewhere"))};
    int control = 0;
    const QString controlId = uniqueModuleId();
    const auto controlToken =
        DarwinNotify::observe(ModuleNotify::settingsName(controlId), [&] { ++control; });
    working.save({}, controlId);
    if (token->isConnected()) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return control > 0; }));
    }
    EXPECT_EQ(posted, 0);
}

TEST_F(ModuleSettingsStoreTest, DeleteRemovesTheFileAndIgnoresErrors) {
    store.save({{"size", SettingValue::fromInt(9)}}, "clock");
    store.remove("clock");
    EXPECT_FALSE(QFile::exists(paths.settingsFile("clock")));
    store.remove("clock"); // already gone
    EXPECT_EQ(store.load("clock", manifest), defaults);
}

TEST_F(ModuleSettingsStoreTest, InvalidIdsNeverReachTheFileSystem) {
    writeFile(dir.file("victim.json"), R"({"size":50})");
    const QString escape = "../victim";
    EXPECT_EQ(store.load(escape, manifest), defaults);
    EXPECT_THROW(store.save({{"size", SettingValue::fromInt(9)}}, escape), FileError);
    store.remove(escape);
    EXPECT_EQ(readFile(dir.file("victim.json")), R"({"size":50})");
    EXPECT_THROW(store.save({}, ""), FileError);
    EXPECT_THROW(store.save({}, "Clock"), FileError);
}
