#include "OvrelHub/store/RunningInstanceTerminator.h"
#include "FakeWorkspace.h"
#include "Platform/system/SystemLog.h"
#include "StoreTestSupport.h"

#include <QTimer>
#include <gtest/gtest.h>

using namespace ovrel;
using test::FakeRunningApplication;

namespace {

// Ends by itself some time after it was asked to, as a module that saves
// its work first would.
class SlowToQuit : public FakeRunningApplication {
public:
    using FakeRunningApplication::FakeRunningApplication;
    bool terminate() override {
        ++terminateRequests;
        QTimer::singleShot(300, [this] { terminated = true; });
        return true;
    }
};

struct RunningInstanceTerminatorTest : ::testing::Test {
    test::FakeWorkspace workspace;

    template <class App = FakeRunningApplication> std::shared_ptr<App> running(qint64 pid) {
        auto app = std::make_shared<App>(pid, "vn.ovrel.module.clock");
        workspace.running["vn.ovrel.module.clock"].append(app);
        return app;
    }
    QFuture<void> terminate() {
        return RunningInstanceTerminator::terminateRunningInstances(workspace, "clock");
    }
};

const QString kPoliteLine2 =
    "Ovrel: gỡ module clock — 2 tiến trình đang chạy, gửi terminate lịch sự";
const QString kForcedLine =
    "Ovrel: module clock không đóng sau terminate() lịch sự trong 2s — buộc đóng";

} // namespace

TEST_F(RunningInstanceTerminatorTest, NothingRunningFinishesAtOnceWithoutALogLine) {
    running(7)->terminated = true; // exited already
    SystemLogCapture log;
    EXPECT_TRUE(terminate().isFinished());
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST_F(RunningInstanceTerminatorTest, InstancesThatQuitWhenAskedAreNeverForced) {
    const auto first = running(7);
    const auto second = running(8);
    SystemLogCapture log;
    test::await(terminate());
    EXPECT_EQ(log.lines(), QStringList{kPoliteLine2});
    for (const auto& app : {first, second}) {
        EXPECT_EQ(app->terminateRequests, 1);
        EXPECT_EQ(app->forceTerminateRequests, 0);
    }
}

TEST_F(RunningInstanceTerminatorTest, InstanceThatTakesAWhileIsWaitedForNotForced) {
    const auto slow = running<SlowToQuit>(7);
    const QFuture<void> done = terminate();
    EXPECT_FALSE(done.isFinished());
    test::await(done);
    EXPECT_TRUE(slow->terminated);
    EXPECT_EQ(slow->forceTerminateRequests, 0);
}

TEST_F(RunningInstanceTerminatorTest, InstanceIgnoringTheRequestIsForcedAfterTheGracePeriod) {
    const auto polite = running(7);
    const auto stubborn = running(8);
    stubborn->ignoresTerminate = true;
    SystemLogCapture log;

    const QFuture<void> done = terminate();
    EXPECT_FALSE(done.isFinished());
    EXPECT_EQ(stubborn->terminateRequests, 1);
    EXPECT_EQ(stubborn->forceTerminateRequests, 0);
    // The wait runs on timers: the event loop keeps serving other work.
    bool servedMeanwhile = false;
    QTimer::singleShot(10, [&] { servedMeanwhile = !done.isFinished(); });

    test::await(done);
    EXPECT_TRUE(servedMeanwhile);
    EXPECT_EQ(stubborn->forceTerminateRequests, 1);
    EXPECT_TRUE(stubborn->terminated);
    EXPECT_EQ(polite->forceTerminateRequests, 0);
    EXPECT_EQ(log.lines(), QStringList({kPoliteLine2, kForcedLine}));
}
