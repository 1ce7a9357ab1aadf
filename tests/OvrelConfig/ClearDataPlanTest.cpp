#include "OvrelConfig/ClearDataPlan.h"
#include "OvrelConfig/Loc.h"
#include "OvrelConfig/SessionLostReason.h"

#include <gtest/gtest.h>

using namespace ovrel;
using Set = QSet<ClearDataAction>;

TEST(ClearDataPlan, DeletingTheAccountCoversStatisticsAndSyncedData) {
    EXPECT_EQ(ClearDataPlan::actions(false, false, false, false), Set{});
    EXPECT_EQ(ClearDataPlan::actions(false, true, true, false),
              (Set{ClearDataAction::stats, ClearDataAction::sync}));
    EXPECT_EQ(ClearDataPlan::actions(false, true, true, true), Set{ClearDataAction::account});
    EXPECT_EQ(ClearDataPlan::actions(true, true, true, true),
              (Set{ClearDataAction::submissions, ClearDataAction::account}));
    EXPECT_EQ(ClearDataPlan::actions(true, false, false, false), Set{ClearDataAction::submissions});
}

TEST(ClearDataPlan, LocalStatisticsGoOnlyWithTheirServerCopy) {
    EXPECT_TRUE(ClearDataPlan::shouldClearLocalStats(true, {ClearDataAction::stats}));
    EXPECT_TRUE(ClearDataPlan::shouldClearLocalStats(true, {ClearDataAction::account}));
    EXPECT_FALSE(ClearDataPlan::shouldClearLocalStats(true, {ClearDataAction::sync}));
    EXPECT_FALSE(ClearDataPlan::shouldClearLocalStats(false, {ClearDataAction::account}));
}

TEST(SessionLostReason, RawValuesRoundTripAndOthersAreIgnored) {
    for (const auto reason : {SessionLostReason::upgraded, SessionLostReason::machineChanged,
                              SessionLostReason::revoked})
        EXPECT_EQ(SessionLostReasons::fromRawValue(SessionLostReasons::rawValue(reason)), reason);
    EXPECT_EQ(SessionLostReasons::rawValue(SessionLostReason::machineChanged), "machineChanged");
    EXPECT_FALSE(SessionLostReasons::fromRawValue("Revoked"));
    EXPECT_FALSE(SessionLostReasons::fromRawValue(""));
}

TEST(SessionLostReason, TheMachineTextNamesThisComputerInEveryLanguage) {
    EXPECT_EQ(
        Loc::t(SessionLostReasons::textKey(SessionLostReason::machineChanged), AppLanguage::en),
        "Your sign-in could not be read on this computer. Sign in again to continue.");
    for (const AppLanguage language : AppLanguages::allCases())
        EXPECT_FALSE(Loc::t(LocKey::sessionLostMachineChanged, language).contains("Mac"));
}
