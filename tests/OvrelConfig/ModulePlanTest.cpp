#include "OvrelConfig/ModulePlan.h"

#include <gtest/gtest.h>

namespace ovrel {
namespace {

CatalogEntry entryWith(std::optional<CatalogRelease> latest,
                       std::optional<CatalogIncompatible> incompatible = std::nullopt) {
    CatalogEntry entry;
    entry.id = "clock";
    entry.latest = std::move(latest);
    entry.incompatible = std::move(incompatible);
    return entry;
}

CatalogRelease release(QString version, QString minHost = "1.0.0",
                       std::optional<QString> minSystem = std::nullopt) {
    CatalogRelease r;
    r.version = std::move(version);
    r.sha256 = "ab";
    r.sizeBytes = 10;
    r.minHostVersion = std::move(minHost);
    r.minMacOS = std::move(minSystem);
    return r;
}

ModuleAction decide(const CatalogEntry& entry, std::optional<QString> installed,
                    QString host = "1.4.0", QString system = "6.1.0") {
    return ModulePlan::decide(entry, installed, host, system);
}

TEST(ModulePlan, WithoutAReleaseTheEntryIsNotAvailableOrNamesTheHubItNeeds) {
    EXPECT_EQ(decide(entryWith(std::nullopt), "1.0.0"), ModuleAction::notAvailable());
    EXPECT_EQ(decide(entryWith(std::nullopt, CatalogIncompatible{"9.0"}), std::nullopt),
              ModuleAction::incompatible("9.0"));
}

TEST(ModulePlan, TheHubRequirementComesBeforeTheSystemRequirement) {
    EXPECT_EQ(decide(entryWith(release("2.0", "2.0.0", "99.0")), std::nullopt),
              ModuleAction::incompatible("2.0.0"));
    EXPECT_EQ(decide(entryWith(release("2.0", "1.0.0", "99.0")), "1.0"),
              ModuleAction::incompatibleOS("99.0"));
    EXPECT_EQ(decide(entryWith(release("2.0", "1.4.0", "6.1")), std::nullopt),
              ModuleAction::install());
}

TEST(ModulePlan, InstalledModulesUpdateOnlyToNewerReleases) {
    const CatalogEntry entry = entryWith(release("1.10.0"));
    EXPECT_EQ(decide(entry, "1.9.0"), ModuleAction::update("1.9.0", "1.10.0"));
    EXPECT_EQ(decide(entry, "1.10"), ModuleAction::upToDate());
    EXPECT_EQ(decide(entry, "2.0.0"), ModuleAction::upToDate());
    EXPECT_EQ(decide(entry, std::nullopt), ModuleAction::install());
}

TEST(ModuleAction, DescriptionsNameTheCaseAndItsVersions) {
    EXPECT_EQ(ModuleAction::update("1.0", "1.1").description(), "update(\"1.0\", \"1.1\")");
    EXPECT_EQ(ModuleAction::incompatibleOS("14").description(), "incompatibleOS(\"14\")");
    EXPECT_NE(ModuleAction::update("1.0", "1.1"), ModuleAction::update("1.0", "1.2"));
}

} // namespace
} // namespace ovrel
