#include "Platform/notify/DarwinNotify.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QProcess>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

bool haveBus() {
    return QDBusConnection::sessionBus().isConnected();
}

// Waits until the process has printed the line (or the time runs out).
bool waitForLine(QProcess& process, const QByteArray& line, int timeoutMs = 10000) {
    QByteArray seen;
    return QTest::qWaitFor(
        [&] {
            seen += process.readAllStandardOutput();
            return seen.split('\n').contains(line);
        },
        timeoutMs);
}

} // namespace

TEST(DarwinNotify, PostInAnotherProcessReachesObserverHere) {
    if (!haveBus())
        GTEST_SKIP() << "no session bus";
    // Names of this test alone: other test programs share the bus.
    const QString unique = QUuid::createUuid().toString(QUuid::Id128);
    const QString name = "vn.ovrel.test." + unique + ".command";
    int hits = 0, others = 0;
    auto token = DarwinNotify::observe(name, [&] { ++hits; });
    auto other = DarwinNotify::observe("vn.ovrel.test." + unique + ".other", [&] { ++others; });
    ASSERT_TRUE(token->isConnected());

    QProcess poster;
    poster.start(test::probePath("notify-probe"), {"post", name});
    ASSERT_TRUE(poster.waitForFinished(10000));
    EXPECT_EQ(poster.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return hits == 1; }, 10000));
    QTest::qWait(50);
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(others, 0) << "observers only wake for their own name";
}

TEST(DarwinNotify, PostHereReachesObserverInAnotherProcess) {
    if (!haveBus())
        GTEST_SKIP() << "no session bus";
    QProcess observer;
    const QString name = "vn.ovrel.test." + QUuid::createUuid().toString(QUuid::Id128);
    observer.start(test::probePath("notify-probe"), {"observe", name});
    ASSERT_TRUE(waitForLine(observer, "ready"));
    DarwinNotify::post(name + "ile"); // a longer name must not match
    DarwinNotify::post(name);
    EXPECT_TRUE(waitForLine(observer, "observed " + name.toUtf8()));
    observer.closeWriteChannel();
    EXPECT_TRUE(observer.waitForFinished(10000));
}

TEST(DarwinNotify, EndingTheObservationStopsDelivery) {
    if (!haveBus())
        GTEST_SKIP() << "no session bus";
    int hits = 0;
    auto token = DarwinNotify::observe("vn.ovrel.test.stop", [&] { ++hits; });
    DarwinNotify::post("vn.ovrel.test.stop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return hits == 1; }, 10000));
    token.reset();
    DarwinNotify::post("vn.ovrel.test.stop");
    // A sentinel observed after the post proves the post was delivered (or not) by now.
    bool sentinel = false;
    auto s = DarwinNotify::observe("vn.ovrel.test.sentinel", [&] { sentinel = true; });
    DarwinNotify::post("vn.ovrel.test.sentinel");
    ASSERT_TRUE(QTest::qWaitFor([&] { return sentinel; }, 10000));
    EXPECT_EQ(hits, 1);
}
