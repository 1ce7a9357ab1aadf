// What the store's rows and module pages offer for each planned action.
#include "OvrelConfig/Loc.h"
#include "OvrelHub/store/InstallProgress.h"
#include "OvrelHub/store/StoreModel.h"
#include "OvrelHub/storepane/InstallProgressText.h"
#include "OvrelHub/storepane/StoreStatus.h"

#include <gtest/gtest.h>

using namespace ovrel;

namespace {
constexpr AppLanguage en = AppLanguage::en;
QString t(LocKey key) {
    return Loc::t(key, en);
}
} // namespace

TEST(StoreStatus, TheModulePageOffersWhatThePlanAllows) {
    namespace S = StoreTileStatus;
    EXPECT_EQ(S::detail(ModuleAction::install(), false, true, en),
              (DetailActions{t(LocKey::appsInstalling), false, false, false}))
        << "busy wins";
    EXPECT_EQ(S::detail(ModuleAction::update("1.0", "1.1"), true, false, en),
              (DetailActions{Loc::format(LocKey::appsUpdateAvailableFormat, en, {"1.1"}), false,
                             true, true}));
    EXPECT_EQ(S::detail(ModuleAction::upToDate(), true, false, en),
              (DetailActions{{}, false, false, true}));
    EXPECT_EQ(S::detail(ModuleAction::notAvailable(), true, false, en),
              (DetailActions{{}, false, false, true}));
    EXPECT_EQ(S::detail(ModuleAction::notAvailable(), false, false, en),
              (DetailActions{t(LocKey::appsNoReleaseYet), false, false, false}));
    EXPECT_EQ(S::detail(ModuleAction::incompatible("9.0.0"), true, false, en),
              (DetailActions{Loc::format(LocKey::appsNeedsNewerOvrelFormat, en, {"9.0.0"}), false,
                             false, true}));
    EXPECT_EQ(S::detail(ModuleAction::incompatibleOS("99"), false, false, en),
              (DetailActions{Loc::format(LocKey::appsNeedsMacOSFormat, en, {"99"}), false, false,
                             false}));
}

TEST(StoreStatus, ATileShowsAButtonOnlyForInstallAndUpdate) {
    namespace S = StoreTileStatus;
    EXPECT_EQ(S::tile(ModuleAction::update("1", "2"), true, false, en).kind,
              TileStatus::Kind::update);
    EXPECT_EQ(S::tile(ModuleAction::install(), false, false, en).kind, TileStatus::Kind::install);
    EXPECT_EQ(S::tile(ModuleAction::incompatible("9"), true, false, en),
              (TileStatus{TileStatus::Kind::caption, t(LocKey::appsInstalledSection)}));
    EXPECT_EQ(S::tile(ModuleAction::incompatible("9"), false, false, en),
              (TileStatus{TileStatus::Kind::caption, t(LocKey::appsNotInstalled)}));
}

TEST(StoreStatus, ProgressReadsBytesThenSteps) {
    InstallProgress progress;
    EXPECT_EQ(InstallProgressText::text(progress, en), t(LocKey::appsInstalling));
    EXPECT_TRUE(progress.canCancel());
    progress.setStep(InstallProgress::Step::downloading);
    emit progress.transfer()->received(1'500'000, 3'000'000);
    EXPECT_EQ(InstallProgressText::text(progress, en), "Downloading… 1.5 MB of 3.0 MB");
    emit progress.transfer()->received(2'000, -1);
    EXPECT_EQ(InstallProgressText::text(progress, en), "Downloading… 2.0 kB");
    progress.setStep(InstallProgress::Step::unpacking);
    EXPECT_EQ(InstallProgressText::text(progress, en), t(LocKey::appsUnpacking));
    EXPECT_FALSE(progress.canCancel());
    progress.cancel();
    EXPECT_FALSE(progress.isCancelled()) << "past the download an install runs to its end";
}

TEST(StoreSearch, FoldsDCaseAndMarks) {
    EXPECT_EQ(StoreModel::searchKey(" Đồng HỒ\n"), "dong ho");
    EXPECT_EQ(StoreModel::searchKey("Nhịp nghỉ"), "nhip nghi");
    EXPECT_EQ(StoreModel::searchKey("   "), "");
}
