#include "ManifestFixture.h"

#include "OvrelModuleKit/settings/ModuleSettings.h"

#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;

namespace {

ModuleManifest clockManifest() {
    return clockSettingsManifest(5);
}

const SettingsMap kDefaults{{"seconds", SettingValue::fromBool(true)},
                            {"size", SettingValue::fromInt(12)},
                            {"style", SettingValue::fromString("digital")},
                            {"format", SettingValue::fromString("HH:mm")}};

} // namespace

TEST(ModuleSettings, DefaultsMapEveryDeclaredKey) {
    EXPECT_EQ(ModuleSettings::defaults(clockManifest()), kDefaults);
    EXPECT_TRUE(ModuleSettings::defaults(ModuleManifest::load(toBytes(minimalManifest()), "clock"))
                    .isEmpty());
}

TEST(ModuleSettings, ReconcileKeepsValuesThatStillFit) {
    const SettingsMap stored{{"seconds", SettingValue::fromBool(false)},
                             {"size", SettingValue::fromInt(72)},
                             {"style", SettingValue::fromString("analog")},
                             {"format", SettingValue::fromString(QString::fromUtf8("ệệệệệ"))}};
    EXPECT_EQ(ModuleSettings::reconcile(stored, clockManifest()), stored);
}

TEST(ModuleSettings, ReconcileReplacesWhatNoLongerFitsWithTheDefault) {
    const SettingsMap stored{{"seconds", SettingValue::fromString("true")}, // other kind
                             {"size", SettingValue::fromInt(73)}, // out of range, not clamped
                             {"style", SettingValue::fromString("retro")},     // option removed
                             {"format", SettingValue::fromString("HH:mm:ss")}, // too long, not cut
                             {"gone", SettingValue::fromInt(1)}};              // no longer declared
    EXPECT_EQ(ModuleSettings::reconcile(stored, clockManifest()), kDefaults);

    const SettingsMap wrongKinds{{"seconds", SettingValue::fromInt(1)},
                                 {"size", SettingValue::fromString("20")},
                                 {"style", SettingValue::fromBool(true)},
                                 {"format", SettingValue::fromInt(5)}};
    EXPECT_EQ(ModuleSettings::reconcile(wrongKinds, clockManifest()), kDefaults);
}

TEST(ModuleSettings, ReconcileFillsMissingKeysOneByOne) {
    const SettingsMap partial{{"size", SettingValue::fromInt(30)}};
    SettingsMap expected = kDefaults;
    expected["size"] = SettingValue::fromInt(30);
    EXPECT_EQ(ModuleSettings::reconcile(partial, clockManifest()), expected);
    EXPECT_EQ(ModuleSettings::reconcile({}, clockManifest()), kDefaults);
}
