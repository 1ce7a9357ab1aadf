#include "OvrelConfig/Loc.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

using namespace ovrel;

TEST(InstallErrorTest, DescriptionNamesTheCaseAndItsPayload) {
    EXPECT_EQ(InstallError::checksumMismatch("ab12", "cd34").description(),
              R"(checksumMismatch(expected: "ab12", actual: "cd34"))");
    EXPECT_EQ(InstallError::unzip("pathTraversal(\"../x\")").description(),
              R"(unzip(pathTraversal("../x")))");
    EXPECT_EQ(
        InstallError::badManifest(ManifestError(ManifestError::Kind::idMismatch)).description(),
        "badManifest(idMismatch)");
    EXPECT_EQ(InstallError::badManifest(ManifestError(ManifestError::Kind::labelTooLong, "open"))
                  .description(),
              R"(badManifest(labelTooLong("open")))");
    EXPECT_EQ(InstallError::macOSTooOld("15.0").description(), R"(macOSTooOld("15.0"))");
    EXPECT_EQ(InstallError::invalidId().description(), "invalidId");
    EXPECT_EQ(InstallError::downloadFailed().description(), "downloadFailed");
    EXPECT_EQ(InstallError::signatureRejected().description(), "signatureRejected");
    EXPECT_EQ(InstallError::installFailed().description(), "installFailed");
    EXPECT_STREQ(InstallError::installFailed().what(), "installFailed");
}

TEST(InstallErrorTest, DigestsFromTheNetworkCannotBreakTheLogLine) {
    EXPECT_EQ(InstallError::checksumMismatch("a\"b\nc\\", "00").description(),
              R"(checksumMismatch(expected: "a\"b\u000ac\\", actual: "00"))");
}

TEST(InstallErrorTest, EqualityComparesCaseAndPayload) {
    EXPECT_EQ(InstallError::macOSTooOld("15"), InstallError::macOSTooOld("15"));
    EXPECT_NE(InstallError::macOSTooOld("15"), InstallError::macOSTooOld("16"));
    EXPECT_NE(InstallError::checksumMismatch("a", "b"), InstallError::checksumMismatch("b", "a"));
    EXPECT_NE(InstallError::badManifest(ManifestError(ManifestError::Kind::idMismatch)),
              InstallError::badManifest(ManifestError(ManifestError::Kind::invalidJSON)));
    EXPECT_NE(InstallError::invalidId(), InstallError::installFailed());
    EXPECT_NE(InstallError::unzip("x"), InstallError::unzip("y"));
}

TEST(InstallErrorTest, ReasonNamesTheSystemRequirementOrTheGenericFailure) {
    EXPECT_EQ(InstallError::macOSTooOld("15.1").reason(AppLanguage::en),
              "Requires system version 15.1 or newer");
    EXPECT_EQ(InstallError::macOSTooOld("15.1").reason(AppLanguage::vi),
              Loc::format(LocKey::appsNeedsMacOSFormat, AppLanguage::vi, {"15.1"}));
    for (const InstallError& error :
         {InstallError::installFailed(), InstallError::signatureRejected(),
          InstallError::checksumMismatch("a", "b")})
        EXPECT_EQ(error.reason(AppLanguage::en), "Couldn't load the app list.");
}
