#include "Platform/desktop/ProgressThrottle.h"

#include <gtest/gtest.h>
#include <vector>

using namespace ovrel;

namespace {

// A throttle on a clock the test moves by hand.
struct ProgressThrottleTest : ::testing::Test {
    qint64 now = 1000;
    std::vector<CommandLineProgress> passed;
    ProgressThrottle throttle{[this](const CommandLineProgress& p) { passed.push_back(p); },
                              [this] { return now; }};

    void chunk(qint64 done, qint64 total = 1000) { throttle.report({"clock 1.0.0", done, total}); }
};

} // namespace

TEST_F(ProgressThrottleTest, ABurstOfChunksPassesTheFirstAndTheCompleteOne) {
    for (qint64 done = 1; done <= 1000; ++done)
        chunk(done);
    ASSERT_EQ(passed.size(), 2u);
    EXPECT_EQ(passed.front().done, 1);
    EXPECT_EQ(passed.back().done, 1000) << "the end of the download is never held back";

    passed.clear();
    now += ProgressThrottle::kIntervalMs - 1;
    chunk(5);
    EXPECT_TRUE(passed.empty());
    now += 1;
    chunk(6);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed.front().done, 6);
}

TEST_F(ProgressThrottleTest, AStepPassesAtOnceAfterTheLastHeldBackReport) {
    chunk(10);
    chunk(20);
    chunk(30, -1);
    throttle.report({"Unpacking", -1, -1});
    throttle.report({"Installing", -1, -1});
    ASSERT_EQ(passed.size(), 4u);
    EXPECT_EQ(passed[0].done, 10);
    EXPECT_EQ(passed[1], (CommandLineProgress{"clock 1.0.0", 30, -1}))
        << "the newest held-back report, not a stale one";
    EXPECT_EQ(passed[2].text, "Unpacking");
    EXPECT_EQ(passed[3].text, "Installing");

    throttle.flush();
    EXPECT_EQ(passed.size(), 4u) << "nothing held back: a flush sends nothing twice";
}
