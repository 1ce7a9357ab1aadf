#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "Platform/system/SystemLog.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

struct HubSettingsFixture : ::testing::Test {
    test::TempDir dir;
    UserDefaults defaults{QStringLiteral("vn.ovrel.lite"), dir.path()};
    NotificationCenter center;
    AppLanguage system = AppLanguage::ja;
    HubSettings settings{defaults, center, [this] { return system; }};

    QStringList posted;
    void SetUp() override {
        QObject::connect(&center, &NotificationCenter::posted,
                         [this](const QString& name) { posted.append(name); });
    }
};

} // namespace

TEST_F(HubSettingsFixture, DefaultsWhenNothingIsStored) {
    EXPECT_FALSE(settings.debugLog());
    EXPECT_EQ(settings.appLanguage(), AppLanguage::ja);
    EXPECT_EQ(settings.menuPresentation(), MenuPresentation::grid);
    EXPECT_EQ(settings.menuGridLayout(), (HubSettings::GridLayout{2, 4}));
    EXPECT_EQ(settings.apiBaseURL(), ServiceEndpoints::builtInBase());
    EXPECT_FALSE(settings.apiBaseURLOverride().has_value());
}

TEST_F(HubSettingsFixture, UnknownLanguageReadsAsSystemLanguage) {
    defaults.set("appLanguage", "de");
    EXPECT_EQ(settings.appLanguage(), AppLanguage::ja);
    defaults.set("appLanguage", 3);
    EXPECT_EQ(settings.appLanguage(), AppLanguage::ja);
    defaults.set("appLanguage", "en");
    EXPECT_EQ(settings.appLanguage(), AppLanguage::en);
}

TEST_F(HubSettingsFixture, SettingLanguageStoresRawValueAndPostsOnce) {
    settings.setAppLanguage(AppLanguage::ko);
    EXPECT_EQ(defaults.string("appLanguage"), QString("ko"));
    EXPECT_EQ(posted, QStringList{"ovrelAppLanguageChanged"});
    // Another instance over the same file sees it: the file is the truth.
    UserDefaults other(QStringLiteral("vn.ovrel.lite"), dir.path());
    EXPECT_EQ(other.string("appLanguage"), QString("ko"));
}

TEST_F(HubSettingsFixture, PresentationAnythingButListIsGrid) {
    for (const char* value : {"grid", "List", "", "list "}) {
        defaults.set("menuPresentation", value);
        EXPECT_EQ(settings.menuPresentation(), MenuPresentation::grid) << value;
    }
    defaults.set("menuPresentation", true);
    EXPECT_EQ(settings.menuPresentation(), MenuPresentation::grid);
    defaults.set("menuPresentation", "list");
    EXPECT_EQ(settings.menuPresentation(), MenuPresentation::list);

    settings.setMenuPresentation(MenuPresentation::grid);
    EXPECT_EQ(defaults.string("menuPresentation"), QString("grid"));
    EXPECT_EQ(posted, QStringList{"vn.ovrel.menuLayoutChanged"});
}

TEST_F(HubSettingsFixture, GridLayoutClampsAndNeedsBothKeys) {
    defaults.set("menuGridRows", 3);
    EXPECT_EQ(settings.menuGridLayout(), (HubSettings::GridLayout{2, 4}));
    defaults.set("menuGridColumns", 5);
    EXPECT_EQ(settings.menuGridLayout(), (HubSettings::GridLayout{3, 5}));
    defaults.set("menuGridRows", 9);
    defaults.set("menuGridColumns", 1);
    EXPECT_EQ(settings.menuGridLayout(), (HubSettings::GridLayout{4, 2}));
    defaults.set("menuGridRows", -7);
    defaults.set("menuGridColumns", 99);
    EXPECT_EQ(settings.menuGridLayout(), (HubSettings::GridLayout{1, 5}));
    defaults.set("menuGridRows", "not a number");
    EXPECT_EQ(settings.menuGridLayout(), (HubSettings::GridLayout{2, 4}));
}

TEST_F(HubSettingsFixture, SettingGridLayoutWritesBothKeysAndPosts) {
    settings.setMenuGridLayout(3, 5);
    EXPECT_EQ(defaults.integer("menuGridRows"), 3);
    EXPECT_EQ(defaults.integer("menuGridColumns"), 5);
    EXPECT_EQ(posted, QStringList{"vn.ovrel.menuLayoutChanged"});
}

TEST_F(HubSettingsFixture, ApiBaseOverrideIsReturnedAsStored) {
    defaults.set("apiBaseURL", "http://127.0.0.1:8080");
    EXPECT_EQ(settings.apiBaseURL(), "http://127.0.0.1:8080");
}

TEST_F(HubSettingsFixture, UnwritablePreferencesAreLoggedAndNotAnnounced) {
    // A directory where the preferences file should be makes every write fail.
    QDir().mkpath(defaults.filePath());
    SystemLogCapture log;
    settings.setAppLanguage(AppLanguage::fr);
    EXPECT_TRUE(posted.isEmpty());
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().startsWith("Ovrel: không ghi được cài đặt appLanguage: "));
    EXPECT_EQ(settings.appLanguage(), AppLanguage::ja);
}
