#include "OvrelHub/update/UpdateNotifier.h"
#include "FakeNotificationServer.h"
#include "OvrelConfig/HubLanguage.h"
#include "OvrelHub/update/UpdatePreferences.h"
#include "Platform/desktop/UserNotificationCenter.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

UpdateRelease release(const QString& version) {
    UpdateRelease r;
    r.version = version;
    r.dmgUrl = QUrl("https://example.com/" + version + ".dmg");
    return r;
}

class UpdateNotifierTest : public ::testing::Test {
protected:
    UpdateNotifierTest() {
        HubLanguage::setProvider([] { return AppLanguage::en; });
    }
    ~UpdateNotifierTest() override { HubLanguage::setProvider({}); }

    std::unique_ptr<UpdateNotifier> notifier() {
        return std::make_unique<UpdateNotifier>(UpdateNotifier::Collaborators{
            center, defaults, "1.2.0",
            [this](const UpdateRelease& r) { whatsNew.append(r.version); }});
    }

    // Every answer of the server so far has arrived.
    void settle() {
        std::optional<bool> answered;
        center.requestAuthorization([&answered](bool granted) { answered = granted; });
        ASSERT_TRUE(QTest::qWaitFor([&answered] { return answered.has_value(); }));
    }

    test::FakeNotificationServer server;
    FreedesktopNotificationCenter center{"Ovrel"};
    test::TempDir dir;
    UserDefaults defaults{QStringLiteral("vn.ovrel.lite"), dir.path()};
    QStringList whatsNew;
};

} // namespace

TEST_F(UpdateNotifierTest, EachNewVersionIsAnnouncedOnceEvenAcrossRestarts) {
    ASSERT_TRUE(server.isRunning());
    QSignalSpy shown(&server, &test::FakeNotificationServer::notified);
    auto first = notifier();
    first->notify(release("1.3.0"));
    ASSERT_TRUE(shown.wait());
    ASSERT_EQ(server.shown().size(), 1);
    EXPECT_EQ(server.shown()[0].summary, "Ovrel 1.3.0 is available");
    EXPECT_EQ(server.shown()[0].body, "Click to see what's new.");
    EXPECT_EQ(UpdatePreferences::lastNotifiedVersion(defaults), "1.3.0");

    first->notify(release("1.3.0"));
    auto afterRestart = notifier();
    afterRestart->notify(release("1.3.0"));
    afterRestart->notify(release("1.2.0")); // not newer than the running version
    afterRestart->notify(release("1.4.0"));
    ASSERT_TRUE(shown.wait());
    EXPECT_EQ(server.shown().size(), 2) << "only 1.4.0 was new";
    EXPECT_EQ(server.shown().last().summary, "Ovrel 1.4.0 is available");
}

TEST_F(UpdateNotifierTest, AClickOpensWhatsNewForThePendingOrTheKnownRelease) {
    ASSERT_TRUE(server.isRunning());
    auto shown = notifier();
    shown->notify(release("1.3.0"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.shown().size() == 1; }));
    server.click(server.shown()[0].id);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !whatsNew.isEmpty(); }));
    EXPECT_EQ(whatsNew, (QStringList{"1.3.0"}));

    // After a restart nothing is pending: the hub's newest release is used.
    shown.reset();
    auto restarted = notifier();
    restarted->setLatestReleaseFallback([] { return release("1.3.1"); });
    UserNotificationCenter::Request other{"ovrel.update.1.3.0", "t", "b"};
    center.add(other);
    settle();
    server.click(server.shown().last().id);
    ASSERT_TRUE(QTest::qWaitFor([this] { return whatsNew.size() >= 2; }));
    EXPECT_EQ(whatsNew, (QStringList{"1.3.0", "1.3.1"}));
}

TEST_F(UpdateNotifierTest, OtherNotificationsOfTheHubAreNotItsBusiness) {
    ASSERT_TRUE(server.isRunning());
    auto shown = notifier();
    shown->notify(release("1.3.0"));
    center.add({"ovrel.sessionLost", "Please sign in again", "…"});
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.shown().size() == 2; }));
    settle();
    for (const auto& shownNotification : server.shown()) // the session notice first
        server.click(shownNotification.id);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !whatsNew.isEmpty(); }));
    EXPECT_EQ(whatsNew, (QStringList{"1.3.0"}));
}

TEST(UpdateNotifier, WithoutANotificationServerNothingIsShownAndTheReleaseStaysPending) {
    FreedesktopNotificationCenter center("Ovrel");
    test::TempDir dir;
    UserDefaults defaults(QStringLiteral("vn.ovrel.lite"), dir.path());
    UpdateNotifier notifier({center, defaults, "1.2.0", {}});
    notifier.notify(release("1.3.0"));
    std::optional<bool> answered;
    center.requestAuthorization([&answered](bool granted) { answered = granted; });
    ASSERT_TRUE(QTest::qWaitFor([&answered] { return answered.has_value(); }));
    EXPECT_FALSE(*answered);
    EXPECT_EQ(notifier.pendingRelease(), release("1.3.0"));
    EXPECT_FALSE(UpdatePreferences::lastNotifiedVersion(defaults))
        << "not announced, so announced later";
}
