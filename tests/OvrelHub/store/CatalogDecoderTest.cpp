#include "OvrelHub/store/CatalogDecoder.h"

#include <gtest/gtest.h>

namespace ovrel {
namespace {

const QByteArray kFull = R"([
  {"id":"clock","name":{"en":"Clock","vi":"Đồng hồ"},"summary":{"en":"Time"},
   "iconUrl":"https://x/icon.png","unknown":[1,2],
   "latest":{"version":"1.2.0","zipUrl":"https://x/z.zip","sha256":"ABCD","sizeBytes":2048,
             "minHostVersion":"1.0.0","minMacOS":"13.0"},
   "description":{"en":"Long"},"screenshots":["https://x/1.png"]},
  {"id":"old","name":{},"summary":{},"incompatible":{"minHostVersion":"3.0.0"}}
])";

TEST(CatalogDecoder, ReadsEveryFieldInOrder) {
    const auto entries = CatalogDecoder::decode(kFull);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2);
    const CatalogEntry& clock = entries->at(0);
    EXPECT_EQ(clock.id, "clock");
    EXPECT_EQ(clock.name.value("vi"), "Đồng hồ");
    EXPECT_EQ(clock.iconUrl, "https://x/icon.png");
    ASSERT_TRUE(clock.latest);
    EXPECT_EQ(clock.latest->sha256, "ABCD");
    EXPECT_EQ(clock.latest->sizeBytes, 2048);
    EXPECT_EQ(clock.latest->minMacOS, "13.0");
    EXPECT_EQ(clock.latest->zipUrl, "https://x/z.zip");
    EXPECT_EQ(clock.screenshots, QStringList{"https://x/1.png"});
    EXPECT_EQ(entries->at(1).incompatible, CatalogIncompatible{"3.0.0"});
    EXPECT_FALSE(entries->at(1).latest);
}

TEST(CatalogDecoder, OneBadEntryMakesTheWholeAnswerUndecodable) {
    const QList<QByteArray> bad = {
        R"({"id":"clock"})",                                        // an object, not an array
        R"([{"name":{},"summary":{}}])",                            // no id
        R"([{"id":"a","name":{"en":1},"summary":{}}])",             // a name that is no text
        R"([{"id":"a","name":{},"summary":{},"latest":{"version":"1","sha256":"a",
             "sizeBytes":1.5,"minHostVersion":"1"}}])",             // a fractional size
        R"([{"id":"a","name":{},"summary":{},"latest":{"version":"1","sha256":"a",
             "sizeBytes":1}}])",                                    // no minHostVersion
        R"([{"id":"a","name":{},"summary":{},"incompatible":{}}])", // incompatible without version
        R"([{"id":"a","name":{},"summary":{},"screenshots":"x"}])",
        R"([{"id":"a","name":{},"summary":{}}, 5])",
        "[",
        "[\"\\udead\"]",
    };
    for (const QByteArray& body : bad)
        EXPECT_FALSE(CatalogDecoder::decode(body)) << body.constData();
}

TEST(CatalogDecoder, NullOptionalFieldsAreAbsentAndAnEmptyListIsACatalog) {
    const auto entries = CatalogDecoder::decode(
        R"([{"id":"a","name":{},"summary":{},"latest":null,"iconUrl":null}])");
    ASSERT_TRUE(entries);
    EXPECT_FALSE(entries->at(0).latest);
    EXPECT_TRUE(CatalogDecoder::decode("[]"));
}

} // namespace
} // namespace ovrel
