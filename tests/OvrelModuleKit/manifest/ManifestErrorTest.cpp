#include "OvrelModuleKit/manifest/ManifestError.h"

#include <gtest/gtest.h>

using namespace ovrel;
using Kind = ManifestError::Kind;

TEST(ManifestError, PayloadKindsAreExactlyTheOnesCarryingAString) {
    for (const Kind k : {Kind::missingRequiredLanguage, Kind::duplicateKey, Kind::duplicateCommand,
                         Kind::labelTooLong, Kind::defaultOutOfRange, Kind::defaultNotInOptions,
                         Kind::emptyOptions, Kind::invalidMode, Kind::unknownSettingGroup,
                         Kind::duplicateSettingGroup, Kind::insecureScreenshotURL,
                         Kind::duplicatePermission, Kind::invalidMinMacOS})
        EXPECT_TRUE(ManifestError::hasPayload(k)) << ManifestError::name(k).toStdString();
    for (const Kind k :
         {Kind::invalidJSON, Kind::idMismatch, Kind::tooManyMenuEntries, Kind::tooManySettings,
          Kind::summaryTooLong, Kind::tooManySettingGroups, Kind::tooManyDynamicCommands,
          Kind::descriptionTooLong, Kind::tooManyScreenshots})
        EXPECT_FALSE(ManifestError::hasPayload(k)) << ManifestError::name(k).toStdString();
}

TEST(ManifestError, ComparesByKindAndPayload) {
    EXPECT_EQ(ManifestError(Kind::duplicateKey, "a"), ManifestError(Kind::duplicateKey, "a"));
    EXPECT_FALSE(ManifestError(Kind::duplicateKey, "a") == ManifestError(Kind::duplicateKey, "b"));
    EXPECT_FALSE(ManifestError(Kind::duplicateKey, "a") ==
                 ManifestError(Kind::duplicateCommand, "a"));
    EXPECT_EQ(ManifestError(Kind::idMismatch), ManifestError(Kind::idMismatch, "ignored"));
}

TEST(ManifestError, DescribesItselfOnOneLine) {
    EXPECT_EQ(ManifestError(Kind::invalidJSON).description(), "invalidJSON");
    EXPECT_EQ(ManifestError(Kind::tooManyScreenshots).description(), "tooManyScreenshots");
    EXPECT_EQ(ManifestError(Kind::labelTooLong, "name").description(), "labelTooLong(\"name\")");
    EXPECT_EQ(ManifestError(Kind::invalidMode, "a\"b\\c\nd\re\tf'\u2028g\x01").description(),
              "invalidMode(\"a\\\"b\\\\c\\nd\\re\\tf\\'\\u{2028}g\\u{1}\")");
    EXPECT_STREQ(ManifestError(Kind::invalidMinMacOS, "15.a").what(), "invalidMinMacOS(\"15.a\")");
}
