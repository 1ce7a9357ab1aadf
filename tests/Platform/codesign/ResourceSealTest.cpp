#include "Platform/codesign/ResourceSeal.h"
#include "Platform/codesign/CanonicalSealReader.h"
#include "Platform/plist/PlistCodec.h"

#include <QVariantMap>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

ResourceSeal::Items sampleItems() {
    ResourceSeal::Items items;
    items.insert("Info.plist", {QByteArray(32, 'a'), {}, false});
    items.insert("MacOS/clock", {QByteArray(32, '\0'), {}, false});
    items.insert(QString::fromUtf8("Resources/ảnh & <icon>.png"), {QByteArray(32, 'z'), {}, false});
    items.insert("Resources/current", {{}, "ảnh.png", true});
    return items;
}

std::optional<ResourceSeal> parseFiles(const QVariantMap& files) {
    return ResourceSeal::parse(PlistCodec::toXml(QVariantMap{{"files2", files}}));
}

} // namespace

TEST(ResourceSeal, ReadsBackWhatTheSignerWritesEscapesAndLinksIncluded) {
    const QByteArray plist = ResourceSeal::fromItems(sampleItems()).toPlist();
    const auto seal = ResourceSeal::parse(plist);
    ASSERT_TRUE(seal);
    EXPECT_EQ(seal->items(), sampleItems());
}

TEST(ResourceSeal, AnythingButHashesOfThirtyTwoBytesOrLinkTargetsIsRefused) {
    const QVariantMap good{{"hash2", QByteArray(32, 'a')}};
    EXPECT_TRUE(parseFiles({{"a", good}}));
    EXPECT_TRUE(parseFiles({}).has_value()) << "an empty bundle seals nothing";

    EXPECT_FALSE(parseFiles({{"a", good}, {"b", QVariantMap{{"hash2", QByteArray(31, 'a')}}}}));
    EXPECT_FALSE(parseFiles({{"a", QVariantMap{{"hash2", QByteArray(33, 'a')}}}}));
    EXPECT_FALSE(parseFiles({{"a", QVariantMap{{"hash2", QString(32, 'a')}}}}));
    EXPECT_FALSE(parseFiles({{"a", QVariantMap{{"symlink", QString()}}}}));
    EXPECT_FALSE(parseFiles({{"a", QVariantMap{{"symlink", QByteArray("x")}}}}));
    EXPECT_FALSE(parseFiles({{"a", QVariantMap{{"hash2", QByteArray(32, 'a')}, {"x", 1}}}}));
    EXPECT_FALSE(parseFiles({{"a", QVariantMap{{"other", QByteArray(32, 'a')}}}}));
    EXPECT_FALSE(parseFiles({{"a", QByteArray(32, 'a')}}));
    EXPECT_FALSE(parseFiles({{"a", QVariantList{good}}}));

    EXPECT_FALSE(ResourceSeal::parse(PlistCodec::toXml(QVariantMap{{"files", QVariantMap{}}})));
    EXPECT_FALSE(ResourceSeal::parse(PlistCodec::toXml(QVariantMap{{"files2", QVariantList{}}})));
    EXPECT_FALSE(ResourceSeal::parse(PlistCodec::toXml(QVariantList{})));
    EXPECT_FALSE(ResourceSeal::parse("<plist><dict><key>files2</key><dict>"));
    EXPECT_FALSE(ResourceSeal::parse(QByteArray()));
}

TEST(ResourceSeal, TheSignersLayoutIsReadInOnePassAndEveryOtherFormByTheGeneralParser) {
    const QByteArray plist = ResourceSeal::fromItems(sampleItems()).toPlist();
    EXPECT_EQ(CanonicalSealReader::read(plist), sampleItems());

    // Each variation leaves the layout; the seal still means the same.
    QByteArray commented = plist;
    commented.replace("<key>files2</key>", "<!-- x --><key>files2</key>");
    QByteArray numericReference = plist;
    numericReference.replace("<key>Info.plist</key>", "<key>Info&#46;plist</key>");
    QByteArray otherKey = plist;
    otherKey.replace("<dict>\n\t<key>files2</key>",
                     "<dict>\n\t<key>files</key><dict/>\n\t<key>files2</key>");
    QByteArray looseBase64 = plist;
    looseBase64.replace("YWFh", "YW Fh");
    for (const QByteArray& variant : {commented, numericReference, otherKey}) {
        ASSERT_NE(variant, plist);
        EXPECT_FALSE(CanonicalSealReader::read(variant).has_value());
        const auto seal = ResourceSeal::parse(variant);
        ASSERT_TRUE(seal) << variant.toStdString();
        EXPECT_EQ(seal->items(), sampleItems());
    }
    EXPECT_EQ(CanonicalSealReader::read(looseBase64), sampleItems()) << "white space in base64";

    // An unfinished document is left to the general parser.
    EXPECT_FALSE(CanonicalSealReader::read(plist.left(plist.size() - 10)).has_value());
    QByteArray shortHash = plist;
    shortHash.replace("YWFhYWFh", "YWFh");
    EXPECT_FALSE(CanonicalSealReader::read(shortHash).has_value());
}
