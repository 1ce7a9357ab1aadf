#include "AccountSandbox.h"
#include "OvrelModuleKit/secrets/SecretStore.h"
#include "Platform/system/SystemLog.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;

namespace {

// A hub start: the notifier checks the stored state as at launch.
void launch(AccountSandbox& machine) {
    machine.sessionLost.checkAtLaunch();
    QTest::qWait(0);
}

bool waitForShown(FakeNotificationCenter& center, qsizetype count) {
    return QTest::qWaitFor([&] { return center.shown.size() == count; }, 5000);
}

} // namespace

TEST(SessionLostNotifier, AMissingSecretOfASignedInUserIsReportedOnceAcrossStarts) {
    AccountSandbox machine(QStringLiteral("http://127.0.0.1:9"));
    machine.defaults.set("isLoggedIn", true);
    int statusChanges = 0;
    SessionLostNotifier::onStatusChanged() = [&] { ++statusChanges; };
    launch(machine);
    ASSERT_TRUE(waitForShown(machine.fakeCenter, 1));
    EXPECT_EQ(machine.sessionLost.reason(), SessionLostReason::upgraded);
    EXPECT_EQ(machine.defaults.string("sessionLostReason"), QStringLiteral("upgraded"));
    EXPECT_EQ(machine.defaults.boolValue("isLoggedIn"), false);
    EXPECT_EQ(machine.fakeCenter.shown.first().body,
              SessionLostNotifier::body(SessionLostReason::upgraded));
    EXPECT_TRUE(machine.fakeCenter.shown.first().identifier.startsWith("ovrel.session.upgraded."));
    EXPECT_GE(statusChanges, 1);

    // The next start shows the kept reason again without a second notification.
    SessionLostNotifier nextRun({machine.defaults, machine.sessions, machine.fakeCenter});
    nextRun.checkAtLaunch();
    QTest::qWait(0);
    EXPECT_EQ(nextRun.reason(), SessionLostReason::upgraded);
    EXPECT_EQ(machine.fakeCenter.authorizationRequests, 1);
    SessionLostNotifier::onStatusChanged() = [] {};
}

TEST(SessionLostNotifier, ASecretFromAnotherMachineMeansMachineChanged) {
    AccountSandbox machine(QStringLiteral("http://127.0.0.1:9"), QStringLiteral("this-machine"));
    SecretStore(machine.paths.secretsDir(), QStringLiteral("other-machine"))
        .save(QStringLiteral("token"), QStringLiteral("session"));
    machine.defaults.set("isLoggedIn", true);
    launch(machine);
    EXPECT_EQ(machine.sessionLost.reason(), SessionLostReason::machineChanged);
    // Loading the unreadable session signs nobody in and sends nothing.
    machine.auth.loadSession();
    EXPECT_FALSE(machine.auth.currentUser());
}

TEST(SessionLostNotifier, ATruncatedTamperedOrOldFormatSecretSignsOutCleanly) {
    const std::function<QByteArray(QByteArray)> damage[] = {
        [](QByteArray bytes) { return bytes.left(bytes.size() - 1); },
        [](QByteArray bytes) {
            bytes[bytes.size() - 20] = char(bytes[bytes.size() - 20] ^ 1);
            return bytes;
        },
        [](QByteArray) { return QByteArray("token-in-an-old-plain-format"); },
    };
    for (const auto& change : damage) {
        AccountSandbox machine(QStringLiteral("http://127.0.0.1:9"));
        machine.sessions.save(QStringLiteral("token"));
        const QString file = machine.sessions.secrets().filePath(QStringLiteral("session"));
        writeFile(file, change(readFile(file)));
        machine.defaults.set("isLoggedIn", true);
        launch(machine);
        EXPECT_EQ(machine.sessionLost.reason(), SessionLostReason::machineChanged);
        EXPECT_EQ(machine.defaults.boolValue("isLoggedIn"), false);
        EXPECT_FALSE(machine.sessions.token());
    }
}

TEST(SessionLostNotifier, NothingIsReportedForAUserWhoNeverSignedInOrForAStrangeStoredReason) {
    AccountSandbox machine(QStringLiteral("http://127.0.0.1:9"));
    machine.defaults.set("sessionLostReason", QStringLiteral("stolen"));
    launch(machine);
    EXPECT_FALSE(machine.sessionLost.reason());
    EXPECT_EQ(machine.fakeCenter.authorizationRequests, 0);
}

TEST(SessionLostNotifier, AfterClearingANewLossNotifiesAgainUnderANewIdentifier) {
    AccountSandbox machine(QStringLiteral("http://127.0.0.1:9"));
    machine.sessionLost.report(SessionLostReason::revoked);
    ASSERT_TRUE(waitForShown(machine.fakeCenter, 1));
    machine.sessionLost.report(SessionLostReason::machineChanged);
    EXPECT_EQ(machine.sessionLost.reason(), SessionLostReason::machineChanged);
    EXPECT_EQ(machine.fakeCenter.authorizationRequests, 1) << "no second notice before a clear";

    machine.sessionLost.clear();
    EXPECT_FALSE(machine.sessionLost.reason());
    EXPECT_FALSE(machine.defaults.contains("sessionLostReason"));
    EXPECT_EQ(machine.defaults.boolValue("sessionLostNotified"), false);
    machine.sessionLost.report(SessionLostReason::revoked);
    ASSERT_TRUE(waitForShown(machine.fakeCenter, 2));
    EXPECT_NE(machine.fakeCenter.shown.at(0).identifier, machine.fakeCenter.shown.at(1).identifier);
}

TEST(SessionLostNotifier, RefusedNotificationsStillKeepTheReason) {
    AccountSandbox machine(QStringLiteral("http://127.0.0.1:9"));
    machine.fakeCenter.grants = false;
    machine.sessionLost.report(SessionLostReason::revoked);
    QTest::qWait(0);
    EXPECT_TRUE(machine.fakeCenter.shown.isEmpty());
    EXPECT_EQ(machine.sessionLost.reason(), SessionLostReason::revoked);
    EXPECT_EQ(machine.defaults.boolValue("sessionLostNotified"), true);
}

TEST(SessionLostNotifier, OnlyAClickOnItsOwnNotificationAsksForTheAccountTab) {
    AccountSandbox machine(QStringLiteral("http://127.0.0.1:9"));
    machine.sessionLost.report(SessionLostReason::revoked);
    ASSERT_TRUE(waitForShown(machine.fakeCenter, 1));
    QSignalSpy clicked(&machine.sessionLost, &SessionLostNotifier::notificationClicked);
    emit machine.fakeCenter.activated(QStringLiteral("ovrel.update.9.9.0"));
    EXPECT_EQ(clicked.count(), 0) << "the centre is shared with the update notices";
    emit machine.fakeCenter.activated(machine.fakeCenter.shown.at(0).identifier);
    EXPECT_EQ(clicked.count(), 1);
}
