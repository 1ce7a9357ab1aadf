#include "OvrelHub/resident/CrashLoopDetector.h"
#include "OvrelHub/resident/ResidentAgentPlan.h"
#include "OvrelHub/resident/ResidentReconciler.h"
#include "OvrelHub/resident/ResidentStatusText.h"

#include <gtest/gtest.h>

using namespace ovrel;
using Action = ResidentAction;
using std::chrono::seconds;

TEST(ResidentAgentPlanTest, NamesAndTheSevenKeys) {
    EXPECT_EQ(ResidentAgentPlan::label("pulse"), "vn.ovrel.module.pulse");
    EXPECT_EQ(QString(ResidentAgentPlan::kLabelPrefix).size(), 16);
    EXPECT_EQ(ResidentAgentPlan::plistFileName("pulse"), "vn.ovrel.module.pulse.plist");
    const QVariantMap plist =
        ResidentAgentPlan::plist("pulse", "/b/Pulse.app/Contents/MacOS/p", 10);
    EXPECT_EQ(plist.size(), 7);
    EXPECT_EQ(plist["Label"], "vn.ovrel.module.pulse");
    EXPECT_EQ(plist["AssociatedBundleIdentifiers"], QVariantList{"vn.ovrel.module.pulse"});
    EXPECT_EQ(plist["ProgramArguments"], QVariantList{"/b/Pulse.app/Contents/MacOS/p"});
    EXPECT_EQ(plist["RunAtLoad"], true);
    EXPECT_EQ(plist["KeepAlive"], (QVariantMap{{"SuccessfulExit", false}}));
    EXPECT_EQ(plist["ThrottleInterval"], qint64(10));
    EXPECT_EQ(plist["ProcessType"], "Background");
}

TEST(ResidentReconcilerTest, WantedMeansResidentAndEnabled) {
    EXPECT_TRUE(ResidentReconciler::plan({}, {}).isEmpty());
    const QList<ResidentReconciler::Module> modules{{"a", ModuleMode::onDemand, true},
                                                    {"b", ModuleMode::resident, true},
                                                    {"c", ModuleMode::resident, false},
                                                    {"d", ModuleMode::resident, true}};
    EXPECT_EQ(ResidentReconciler::plan(modules, {}),
              (QList<Action>{Action::leaveAlone("a"), Action::registerAgent("b"),
                             Action::leaveAlone("c"), Action::registerAgent("d")}));
    EXPECT_EQ(ResidentReconciler::plan(modules, {"a", "b", "c", "d"}),
              (QList<Action>{Action::unregisterAgent("a"), Action::leaveAlone("b"),
                             Action::unregisterAgent("c"), Action::leaveAlone("d")}));
}

TEST(ResidentReconcilerTest, OrphansAreUnregisteredAndThePlanIsSortedById) {
    const QList<ResidentReconciler::Module> modules{{"b", ModuleMode::resident, true},
                                                    {"a", ModuleMode::resident, true}};
    EXPECT_EQ(ResidentReconciler::plan(modules, {"c", "a"}),
              (QList<Action>{Action::leaveAlone("a"), Action::registerAgent("b"),
                             Action::unregisterAgent("c")}));
}

TEST(CrashLoopDetectorTest, FourStartsWithinFiveMinutesAreALoop) {
    const auto now = std::chrono::system_clock::now();
    std::vector<UnixTime::TimePoint> starts{now - seconds(301), now - seconds(300),
                                            now - seconds(100), now - seconds(1)};
    EXPECT_EQ(CrashLoopDetector::health(starts, now), ResidentHealth::ok());
    starts.push_back(now);
    EXPECT_EQ(CrashLoopDetector::health(starts, now), ResidentHealth::looping(4))
        << "a start exactly five minutes ago counts";
    EXPECT_EQ(CrashLoopDetector::health({}, now), ResidentHealth::ok());
}

TEST(ResidentStatusTextTest, OneLinePerState) {
    const auto ok = ResidentHealth::ok();
    EXPECT_FALSE(ResidentStatusText::text(ModuleMode::onDemand, true, true, ok));
    EXPECT_EQ(ResidentStatusText::text(ModuleMode::resident, false, false, ok), "Đã tắt chạy nền");
    EXPECT_EQ(ResidentStatusText::text(ModuleMode::resident, false, true, ok),
              "Không tắt được chạy nền")
        << "an agent that could not be unloaded still runs the module";
    EXPECT_EQ(ResidentStatusText::text(ModuleMode::resident, true, false, ok),
              "Không bật được chạy nền");
    EXPECT_EQ(
        ResidentStatusText::text(ModuleMode::resident, true, true, ResidentHealth::looping(6)),
        "Đang khởi động lại liên tục — có thể đang lỗi (6 lần trong 5 phút)");
    EXPECT_EQ(ResidentStatusText::text(ModuleMode::resident, true, true, ok), "Đang chạy nền");
    EXPECT_EQ(ResidentStatusText::text(ModuleMode::resident, true, true, ok, true),
              "Đang chạy nền (do hub giữ chạy — không có systemd)");
}
