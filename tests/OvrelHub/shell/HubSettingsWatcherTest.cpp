#include "OvrelHub/shell/HubSettingsWatcher.h"
#include "OvrelHub/shell/HubSettings.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

struct HubSettingsWatcherFixture : ::testing::Test {
    test::TempDir dir;
    NotificationCenter center;
    UserDefaults defaults{QStringLiteral("vn.ovrel.lite"), dir.path()};
    HubSettings settings{defaults, center, [] { return AppLanguage::vi; }};
    // Another process (or the user's editor) writing the same file.
    UserDefaults elsewhere{QStringLiteral("vn.ovrel.lite"), dir.path()};
    QStringList posted;
    // QSignalSpy::wait runs a nested event loop, which returns at once in a
    // program where an earlier test called QCoreApplication::exit: wait by polling events.

    HubSettingsWatcherFixture() {
        QObject::connect(&center, &NotificationCenter::posted,
                         [this](const QString& name) { posted.append(name); });
    }
};

} // namespace

TEST_F(HubSettingsWatcherFixture, ChangesOnDiskAreAnnouncedAsTheSettingsWindowWould) {
    HubSettingsWatcher watcher(settings, center);
    QSignalSpy checked(&watcher, &HubSettingsWatcher::checked);

    elsewhere.set("appLanguage", "ja");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !checked.isEmpty(); }));
    EXPECT_EQ(posted, QStringList{"ovrelAppLanguageChanged"});
    EXPECT_EQ(settings.appLanguage(), AppLanguage::ja);

    posted.clear();
    elsewhere.setValues({{"menuGridRows", 3}, {"menuGridColumns", 5}});
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return posted == QStringList{"vn.ovrel.menuLayoutChanged"};
    })) << posted.join(", ").toStdString();
    posted.clear();
    elsewhere.set("menuPresentation", "list");
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return posted == QStringList{"vn.ovrel.menuLayoutChanged"};
    })) << posted.join(", ").toStdString();

    // A key nobody shows changes nothing visible: no announcement.
    posted.clear();
    checked.clear();
    elsewhere.set("debugLog", true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !checked.isEmpty(); }));
    EXPECT_TRUE(posted.isEmpty());
}

TEST_F(HubSettingsWatcherFixture, TheHubsOwnChangesAreAnnouncedOnce) {
    HubSettingsWatcher watcher(settings, center);
    QSignalSpy checked(&watcher, &HubSettingsWatcher::checked);
    settings.setAppLanguage(AppLanguage::fr);
    settings.setMenuPresentation(MenuPresentation::list);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !checked.isEmpty(); }));
    QTest::qWait(0);
    EXPECT_EQ(posted, (QStringList{"ovrelAppLanguageChanged", "vn.ovrel.menuLayoutChanged"}));
}

TEST_F(HubSettingsWatcherFixture, AFileThatAppearsOrIsDeletedIsFollowed) {
    HubSettingsWatcher watcher(settings, center);
    elsewhere.set("appLanguage", "en");
    EXPECT_TRUE(QTest::qWaitFor([&] { return posted == QStringList{"ovrelAppLanguageChanged"}; }))
        << posted.join(", ").toStdString();
    posted.clear();
    QFile::remove(defaults.filePath());
    // Back to the system language.
    EXPECT_TRUE(QTest::qWaitFor([&] { return posted == QStringList{"ovrelAppLanguageChanged"}; }))
        << posted.join(", ").toStdString();
    EXPECT_EQ(settings.appLanguage(), AppLanguage::vi);
}
