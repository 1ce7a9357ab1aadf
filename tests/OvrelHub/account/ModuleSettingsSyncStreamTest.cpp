#include "OvrelHub/account/ModuleSettingsSyncStream.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "TestSupport.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;

namespace {
QJsonValue json(const char* text) {
    return QJsonDocument::fromJson(text).object();
}
} // namespace

TEST(ModuleSettingsSyncStream, ServerValuesKeepTheirJsonTypes) {
    const auto parsed = ModuleSettingsSyncStream::parse(
        json(R"({"clock":{"on":true,"count":1,"zero":0,"big":9007199254740993,"name":"x",)"
             R"("half":1.5,"none":null,"list":[1]},"broken":"not an object"})"));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->keys(), QStringList{"clock"});
    const SettingsMap& clock = parsed->value("clock");
    EXPECT_EQ(clock.value("on"), SettingValue::fromBool(true));
    EXPECT_EQ(clock.value("count"), SettingValue::fromInt(1)) << "1 is an integer, not true";
    EXPECT_EQ(clock.value("zero"), SettingValue::fromInt(0));
    EXPECT_EQ(clock.value("big"), SettingValue::fromInt(9007199254740993));
    EXPECT_EQ(clock.value("name"), SettingValue::fromString("x"));
    EXPECT_FALSE(clock.contains("half"));
    EXPECT_FALSE(clock.contains("none"));
    EXPECT_FALSE(clock.contains("list"));
    EXPECT_FALSE(ModuleSettingsSyncStream::parse(QJsonValue(QJsonArray{})));
}

TEST(ModuleSettingsSyncStream, ApplyWritesOnlyValidModulesThatChanged) {
    TempDir dir;
    const ModulePaths paths(dir.path());
    const SyncStream stream = ModuleSettingsSyncStream::make(paths);
    EXPECT_EQ(stream.key, "moduleSettings");
    EXPECT_TRUE(stream.platformScoped);
    EXPECT_EQ(stream.effectiveKey(false), "moduleSettings.macos");
    EXPECT_EQ(stream.snapshot(), stream.emptyPayload());

    ModuleSettingsStore(paths).save({{"on", SettingValue::fromBool(true)}}, "pulse");
    const QFileInfo pulseBefore(paths.settingsFile("pulse"));
    stream.apply(json(R"({"clock":{"n":2},"../evil":{"x":1},"Bad":{"x":1},"pulse":{"on":true}})"));
    EXPECT_EQ(ModuleSettingsStore::readFile(paths.settingsFile("clock")),
              (SettingsMap{{"n", SettingValue::fromInt(2)}}));
    EXPECT_FALSE(QFileInfo::exists(paths.settingsDir() + "/../evil.json"));
    EXPECT_FALSE(QFileInfo::exists(paths.settingsFile("Bad")));
    EXPECT_EQ(QFileInfo(paths.settingsFile("pulse")).lastModified(), pulseBefore.lastModified());
    EXPECT_EQ(stream.snapshot(), json(R"({"clock":{"n":2},"pulse":{"on":true}})"));
}
