#include "TestSupport.h"

#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "OvrelModuleKit/settings/ModuleSettingsSyncPayload.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;

TEST(ModuleSettingsSyncPayload, SnapshotCarriesEveryDecodableJsonFileAsStored) {
    TempDir dir;
    const ModulePaths paths(dir.path());
    writeFile(paths.settingsFile("x"), R"({"a":true,"n":5,"s":"t","unknownToAnyManifest":7})");
    writeFile(paths.settingsDir() + "/y.txt", R"({"a":true})");
    writeFile(paths.settingsFile("z"), R"({"a":)");
    writeFile(paths.settingsFile("frac"), R"({"a":1.5})");
    writeFile(paths.settingsFile("Not_An_Id"), R"({"b":"kept"})");
    writeFile(paths.settingsFile("empty"), "{}");
    QDir().mkpath(paths.settingsFile("folder"));

    const ModuleSettingsPayload snapshot = ModuleSettingsSyncPayload::snapshot(paths);
    EXPECT_EQ(snapshot.keys(), (QStringList{"Not_An_Id", "empty", "x"}));
    EXPECT_EQ(snapshot["x"], (SettingsMap{{"a", SettingValue::fromBool(true)},
                                          {"n", SettingValue::fromInt(5)},
                                          {"s", SettingValue::fromString("t")},
                                          {"unknownToAnyManifest", SettingValue::fromInt(7)}}));
    EXPECT_TRUE(snapshot["empty"].isEmpty());
}

TEST(ModuleSettingsSyncPayload, SnapshotOfAMissingDirectoryIsEmpty) {
    TempDir dir;
    EXPECT_TRUE(ModuleSettingsSyncPayload::snapshot(ModulePaths(dir.file("none"))).isEmpty());
}

TEST(ModuleSettingsSyncPayload, PlanDropsInvalidIdsAndSortsTheRest) {
    const SettingsMap a{{"k", SettingValue::fromInt(1)}};
    const SettingsMap b{{"k", SettingValue::fromInt(2)}};
    const ModuleSettingsPayload payload{{"b", b},  {"a", a},     {"../escape", a},
                                        {"", a},   {"UPPER", a}, {QString(33, 'a'), a},
                                        {"a-1", b}};
    const auto plan = ModuleSettingsSyncPayload::plan(payload);
    ASSERT_EQ(plan.size(), 3);
    EXPECT_EQ(plan[0], qMakePair(QString("a"), a));
    EXPECT_EQ(plan[1], qMakePair(QString("a-1"), b));
    EXPECT_EQ(plan[2], qMakePair(QString("b"), b));
}

TEST(ModuleSettingsSyncPayload, SnapshotThenPlanThenSaveRoundTrips) {
    TempDir from;
    TempDir to;
    const ModuleSettingsStore source{ModulePaths(from.path())};
    source.save({{"n", SettingValue::fromInt(-9223372036854775807LL - 1)}}, "clock");
    source.save({{"s", SettingValue::fromString("ệ")}}, "pulse");

    const ModuleSettingsStore target{ModulePaths(to.path())};
    for (const auto& [id, values] :
         ModuleSettingsSyncPayload::plan(ModuleSettingsSyncPayload::snapshot(source.paths())))
        target.save(values, id);
    EXPECT_EQ(ModuleSettingsSyncPayload::snapshot(target.paths()),
              ModuleSettingsSyncPayload::snapshot(source.paths()));
}
