#include "OvrelHub/runner/ModuleLaunchBlock.h"
#include "ModuleRunnerFixture.h"
#include "OvrelHub/runner/ModuleRunner.h"

#include <gtest/gtest.h>

using namespace ovrel;
using test::manifestFor;

namespace ovrel {
void PrintTo(const ModuleLaunchBlock& block, std::ostream* os) {
    *os << block.what();
}
} // namespace ovrel

namespace {
const QString kClock = QStringLiteral("clock");
const QString kSystem = QStringLiteral("14.5.0");
} // namespace

TEST(ModuleRunnerRequirement, OnlyANewerRequirementBlocks) {
    EXPECT_EQ(ModuleRunner::launchBlock(QStringLiteral("15"), kSystem), QStringLiteral("15"));
    EXPECT_EQ(ModuleRunner::launchBlock(QStringLiteral("14.10"), kSystem), QStringLiteral("14.10"));
    EXPECT_EQ(ModuleRunner::launchBlock(QStringLiteral("14.5.1"), kSystem),
              QStringLiteral("14.5.1"));
    EXPECT_EQ(ModuleRunner::launchBlock(QStringLiteral("14.5"), kSystem), std::nullopt);
    EXPECT_EQ(ModuleRunner::launchBlock(QStringLiteral("14.5.0"), kSystem), std::nullopt);
    EXPECT_EQ(ModuleRunner::launchBlock(QStringLiteral("9"), kSystem), std::nullopt);
    EXPECT_EQ(ModuleRunner::launchBlock(std::optional<QString>(), kSystem), std::nullopt);
}

TEST(ModuleRunnerRequirement, ManifestBytesGiveTheBlock) {
    const auto block = [](const std::optional<QByteArray>& bytes) {
        return ModuleRunner::launchBlock(bytes, kClock, kSystem);
    };
    EXPECT_EQ(block(manifestFor(kClock, QStringLiteral("15"))),
              ModuleLaunchBlock::macOSTooOld(QStringLiteral("15")));
    EXPECT_EQ(block(manifestFor(kClock, QStringLiteral("15.a"))),
              ModuleLaunchBlock::invalidMinMacOS(QStringLiteral("15.a")));
    EXPECT_EQ(block(manifestFor(kClock, QStringLiteral("14.5"))), std::nullopt);
    EXPECT_EQ(block(manifestFor(kClock)), std::nullopt);
    // No bytes, or a manifest that fails for another reason, leave it to the
    // signature check.
    EXPECT_EQ(block(std::nullopt), std::nullopt);
    EXPECT_EQ(block(QByteArray()), std::nullopt);
    EXPECT_EQ(block(QByteArray("[1, 2")), std::nullopt);
    EXPECT_EQ(block(manifestFor(QStringLiteral("pulse"), QStringLiteral("99"))), std::nullopt);
}

TEST(ModuleRunnerRequirement, IdentifierAndDelivery) {
    EXPECT_EQ(ModuleRunner::bundleIdentifier(kClock), QStringLiteral("vn.ovrel.module.clock"));
    EXPECT_EQ(ModuleRunner::bundleIdentifier(QStringLiteral("2fa-otp")),
              QStringLiteral("vn.ovrel.module.2fa-otp"));
    EXPECT_EQ(ModuleRunner::delivery(true), ModuleDelivery::notifyRunning);
    EXPECT_EQ(ModuleRunner::delivery(false), ModuleDelivery::launch);
}

TEST(ModuleLaunchBlock, EqualityCoversCaseAndValue) {
    const auto tooOld = ModuleLaunchBlock::macOSTooOld(QStringLiteral("15"));
    EXPECT_EQ(tooOld, ModuleLaunchBlock::macOSTooOld(QStringLiteral("15")));
    EXPECT_NE(tooOld, ModuleLaunchBlock::macOSTooOld(QStringLiteral("16")));
    EXPECT_NE(tooOld, ModuleLaunchBlock::invalidMinMacOS(QStringLiteral("15")));
    EXPECT_EQ(tooOld.kind(), ModuleLaunchBlock::Kind::macOSTooOld);
    EXPECT_EQ(tooOld.value(), QStringLiteral("15"));
    EXPECT_EQ(tooOld.description(), QStringLiteral("macOSTooOld(\"15\")"));
    EXPECT_STREQ(ModuleLaunchBlock::invalidMinMacOS(QStringLiteral("15.a")).what(),
                 "invalidMinMacOS(\"15.a\")");
}

TEST(ModuleLaunchBlock, ShownValueStaysOnOneShortLine) {
    EXPECT_EQ(ModuleLaunchBlock::invalidMinMacOS(QStringLiteral("15.a")).shownValue(),
              QStringLiteral("15.a"));
    EXPECT_EQ(ModuleLaunchBlock::invalidMinMacOS(QStringLiteral("1\n2\r3\t4") + QChar(0x2028) +
                                                 QChar(0x1b))
                  .shownValue(),
              QStringLiteral("1\\n2\\r3\\t4\\u{2028}\\u{1b}"));

    const QString exact(ModuleLaunchBlock::kMaxShownLength, QLatin1Char('9'));
    EXPECT_EQ(ModuleLaunchBlock::invalidMinMacOS(exact).shownValue(), exact);
    const auto longer = ModuleLaunchBlock::invalidMinMacOS(exact + QStringLiteral("99"));
    EXPECT_EQ(longer.shownValue(), exact + QChar(0x2026));
    EXPECT_EQ(longer.value(), exact + QStringLiteral("99")); // the block keeps it whole

    // A character outside the basic plane is never cut in half.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString pairs = emoji.repeated(ModuleLaunchBlock::kMaxShownLength + 1);
    EXPECT_EQ(ModuleLaunchBlock::invalidMinMacOS(pairs).shownValue(),
              emoji.repeated(ModuleLaunchBlock::kMaxShownLength) + QChar(0x2026));
}
