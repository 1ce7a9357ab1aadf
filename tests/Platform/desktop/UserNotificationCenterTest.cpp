#include "Platform/desktop/UserNotificationCenter.h"
#include "FakeNotificationServer.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

bool authorizationOf(UserNotificationCenter& center) {
    std::optional<bool> answer;
    center.requestAuthorization([&answer](bool granted) { answer = granted; });
    EXPECT_TRUE(QTest::qWaitFor([&answer] { return answer.has_value(); }));
    return answer.value_or(false);
}

} // namespace

TEST(FreedesktopNotificationCenter, IsAuthorisedOnlyWhileANotificationServerAnswers) {
    FreedesktopNotificationCenter center(QStringLiteral("Ovrel"));
    EXPECT_FALSE(authorizationOf(center));

    test::FakeNotificationServer server;
    ASSERT_TRUE(server.isRunning());
    EXPECT_TRUE(authorizationOf(center));
}

TEST(FreedesktopNotificationCenter, ShowsTheNotificationWithTheDefaultAction) {
    test::FakeNotificationServer server;
    ASSERT_TRUE(server.isRunning());
    FreedesktopNotificationCenter center(QStringLiteral("Ovrel"));
    QSignalSpy notified(&server, &test::FakeNotificationServer::notified);

    center.add({QStringLiteral("ovrel.update.1.3.0"), QStringLiteral("Ovrel 1.3.0 is available"),
                QStringLiteral("Click to see what's new.")});

    ASSERT_TRUE(notified.wait());
    ASSERT_EQ(server.shown().size(), 1);
    const auto& shown = server.shown().first();
    EXPECT_EQ(shown.appName, QStringLiteral("Ovrel"));
    EXPECT_EQ(shown.summary, QStringLiteral("Ovrel 1.3.0 is available"));
    EXPECT_EQ(shown.body, QStringLiteral("Click to see what's new."));
    EXPECT_TRUE(shown.actions.contains(QStringLiteral("default")));
}

TEST(FreedesktopNotificationCenter, AClickReportsTheIdentifierOfThatNotificationOnly) {
    test::FakeNotificationServer server;
    ASSERT_TRUE(server.isRunning());
    FreedesktopNotificationCenter center(QStringLiteral("Ovrel"));
    QSignalSpy activated(&center, &UserNotificationCenter::activated);

    center.add({QStringLiteral("first"), QStringLiteral("a"), QStringLiteral("b")});
    center.add({QStringLiteral("second"), QStringLiteral("c"), QStringLiteral("d")});
    center.add({QStringLiteral("third"), QStringLiteral("e"), QStringLiteral("f")});
    // The server answers in order: once this answer is in, so are the ids.
    ASSERT_TRUE(authorizationOf(center));
    ASSERT_EQ(server.shown().size(), 3);

    server.click(server.shown().at(1).id);
    server.click(999);                     // another program's notification
    server.click(server.shown().at(1).id); // closed by the first click: forgotten
    server.click(server.shown().at(2).id);
    ASSERT_TRUE(QTest::qWaitFor([&activated] { return activated.size() >= 2; }));

    ASSERT_EQ(activated.size(), 2);
    EXPECT_EQ(activated.at(0).first().toString(), QStringLiteral("second"));
    EXPECT_EQ(activated.at(1).first().toString(), QStringLiteral("third"));
}
