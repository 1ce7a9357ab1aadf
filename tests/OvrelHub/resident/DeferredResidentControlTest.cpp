#include "OvrelHub/resident/DeferredResidentControl.h"
#include "FakeResidentControl.h"
#include "OvrelHub/resident/ResidentError.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <atomic>
#include <thread>
#include <vector>

namespace ovrel::test {
namespace {

// Counts the choices and hands out one fake the test can look into.
struct Chooser {
    std::atomic<int> choices = 0;
    FakeResidentControl* made = nullptr;

    DeferredResidentControl::Factory factory() {
        return [this] {
            ++choices;
            auto control = std::make_unique<FakeResidentControl>();
            made = control.get();
            return control;
        };
    }
};

TEST(DeferredResidentControl, ChoosesOnFirstUseOnlyAndForwardsEverything) {
    Chooser chooser;
    DeferredResidentControl control(chooser.factory());
    control.loadAtStart({}); // no agents: nothing to decide
    EXPECT_FALSE(control.hasChosen());
    EXPECT_EQ(chooser.choices, 0);

    EXPECT_FALSE(control.isLoaded("vn.ovrel.module.pulse"));
    EXPECT_TRUE(control.hasChosen());
    control.bootstrap("/nowhere/vn.ovrel.module.pulse.plist", "vn.ovrel.module.pulse");
    EXPECT_TRUE(control.isLoaded("vn.ovrel.module.pulse"));
    EXPECT_FALSE(control.runsOnlyWithHub());
    control.bootout("vn.ovrel.module.pulse");
    EXPECT_EQ(chooser.made->calls,
              QStringList({"bootstrap vn.ovrel.module.pulse", "bootout vn.ovrel.module.pulse"}));
    EXPECT_EQ(chooser.choices, 1);

    chooser.made->failBootstrap = true;
    EXPECT_THROW(control.bootstrap("/nowhere/x.plist", "x"), ResidentError);
    EXPECT_EQ(chooser.choices, 1);
}

TEST(DeferredResidentControl, ThreadsRacingToBeFirstShareOneChoice) {
    Chooser chooser;
    DeferredResidentControl control(chooser.factory());
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&control] { control.isLoaded("vn.ovrel.module.clock"); });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(chooser.choices, 1);
}

} // namespace
} // namespace ovrel::test
