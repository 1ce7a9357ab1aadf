#include "Platform/bundle/BundleInfo.h"

#include "Platform/plist/PlistCodec.h"

#include <QVariantMap>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

QByteArray plist(const QVariantMap& keys) {
    return PlistCodec::toXml(keys);
}

} // namespace

TEST(BundleInfo, ReadsTheThreeKeys) {
    const auto info = BundleInfo::parse(plist({{"CFBundleIdentifier", "vn.ovrel.clock"},
                                               {"CFBundleExecutable", "Clock"},
                                               {"CFBundleIconFile", "AppIcon"}}));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->identifier, "vn.ovrel.clock");
    EXPECT_EQ(info->executable, "Clock");
    EXPECT_EQ(info->iconFile, "AppIcon");
    EXPECT_EQ(info->executablePath(), "Contents/MacOS/Clock");
}

TEST(BundleInfo, AnUnusableExecutableIsNoInfoButIsReportedAsDeclared) {
    for (const QVariant& executable : {QVariant(QVariantList{}), QVariant(""), QVariant(".."),
                                       QVariant("../x"), QVariant("a\x01"), QVariant(42)}) {
        const QByteArray bytes =
            plist({{"CFBundleIdentifier", "vn.ovrel.clock"}, {"CFBundleExecutable", executable}});
        EXPECT_FALSE(BundleInfo::parse(bytes)) << executable.toString().toStdString();
        const auto declared = BundleInfo::parseDeclared(bytes);
        ASSERT_TRUE(declared);
        EXPECT_FALSE(declared->hasUsableExecutable());
        EXPECT_EQ(declared->identifier, "vn.ovrel.clock");
    }
    const auto named = BundleInfo::parseDeclared(plist({{"CFBundleExecutable", "../x"}}));
    ASSERT_TRUE(named);
    EXPECT_EQ(named->executable, "../x");
}

TEST(BundleInfo, OnlyADictionaryIsAnInfoPlist) {
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("garbage"), PlistCodec::toXml(QVariantList{"Clock"})}) {
        EXPECT_FALSE(BundleInfo::parseDeclared(bytes));
        EXPECT_FALSE(BundleInfo::parse(bytes));
    }
}

TEST(BundleInfo, AnIconThatIsNoPlainFileNameIsIgnored) {
    const auto info = BundleInfo::parse(
        plist({{"CFBundleExecutable", "Clock"}, {"CFBundleIconFile", "../../etc/icon"}}));
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->iconFile.isEmpty());
}
