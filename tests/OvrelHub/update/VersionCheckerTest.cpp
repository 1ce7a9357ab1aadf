#include "OvrelHub/update/VersionChecker.h"
#include "LocalService.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

CheckResult checkOnce(VersionChecker& checker) {
    std::optional<CheckResult> result;
    checker.check([&result](const CheckResult& r) { result = r; });
    EXPECT_TRUE(QTest::qWaitFor([&result] { return result.has_value(); }, 15000));
    return result.value_or(CheckResult::failed());
}

} // namespace

TEST(VersionFeedAddress, ProductAndPlatformFollowTheQueryTheOverrideAlreadyHas) {
    const auto url = ServiceEndpoints::versionFeed(QString("https://feed.example/v?channel=beta"),
                                                   "lite", "macos");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->query(), "channel=beta&product=lite&platform=macos");
}

TEST(VersionChecker, AsksTheLocalServiceAndReadsItsRelease) {
    test::LocalService service({"--newest-version", "2.0.0", "--release-notes", "Notes",
                                "--published-at", "2026-01-02T03:04:05Z"});
    ASSERT_TRUE(service.isRunning());
    ServiceNetwork network;
    const QUrl feed = service.url("api/version?product=lite&platform=macos");
    VersionChecker newer({}, {network, [feed] { return feed; }, "1.0.0"});
    const CheckResult found = checkOnce(newer);
    ASSERT_EQ(found.kind, CheckResult::Kind::available);
    EXPECT_EQ(found.release->version, "2.0.0");
    EXPECT_EQ(found.release->notes, "Notes");
    EXPECT_EQ(found.release->publishedAt, "2026-01-02T03:04:05Z");

    VersionChecker current({}, {network, [feed] { return feed; }, "2.0.0"});
    EXPECT_EQ(checkOnce(current), CheckResult::upToDate());

    // An answer without a body the checker can read (400: no product) fails.
    const QUrl bare = service.url("api/version");
    VersionChecker wrongRequest({}, {network, [bare] { return bare; }, "1.0.0"});
    EXPECT_EQ(checkOnce(wrongRequest), CheckResult::failed());
}

TEST(VersionChecker, NoAddressOrNoServiceFails) {
    ServiceNetwork network;
    VersionChecker noAddress({}, {network, [] { return std::nullopt; }, "1.0.0"});
    EXPECT_EQ(checkOnce(noAddress), CheckResult::failed());

    QUrl gone;
    {
        test::LocalService stopped;
        ASSERT_TRUE(stopped.isRunning());
        gone = stopped.url("api/version?product=lite&platform=macos");
    }
    VersionChecker unreachable({}, {network, [gone] { return gone; }, "1.0.0"});
    EXPECT_EQ(checkOnce(unreachable), CheckResult::failed());
}

TEST(VersionChecker, StartChecksAtOnceAndOnEveryTickEachTimeRunningTheHook) {
    test::LocalService service({"--newest-version", "3.0.0"});
    ASSERT_TRUE(service.isRunning());
    ServiceNetwork network;
    const QUrl feed = service.url("api/version?product=lite&platform=macos");
    QStringList found;
    int hookRuns = 0;
    VersionChecker checker(
        [&found](const UpdateRelease& release) { found.append(release.version); },
        {network, [feed] { return feed; }, "1.0.0", std::chrono::milliseconds(50)});
    checker.start([&hookRuns] { ++hookRuns; });
    EXPECT_EQ(hookRuns, 1) << "the first check runs the hook at once";
    EXPECT_TRUE(checker.isStarted());
    ASSERT_TRUE(QTest::qWaitFor([&found] { return found.size() >= 2; }, 15000));
    EXPECT_GE(hookRuns, 2);
    EXPECT_EQ(found.first(), "3.0.0");
}

TEST(VersionChecker, ADestroyedCheckerNeverCallsBack) {
    test::LocalService service({"--newest-version", "3.0.0"});
    ASSERT_TRUE(service.isRunning());
    ServiceNetwork network;
    const QUrl feed = service.url("api/version?product=lite&platform=macos");
    bool called = false;
    {
        VersionChecker checker({}, {network, [feed] { return feed; }, "1.0.0"});
        checker.check([&called](const CheckResult&) { called = true; });
    }
    // A later check on the same network shows that the first answer had its chance.
    VersionChecker other({}, {network, [feed] { return feed; }, "1.0.0"});
    checkOnce(other);
    EXPECT_FALSE(called);
}
