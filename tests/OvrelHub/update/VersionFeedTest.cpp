#include "OvrelHub/update/VersionFeed.h"
#include "OvrelHub/update/ReleaseNotes.h"
#include "OvrelHub/update/UpdateDecision.h"

#include <gtest/gtest.h>

using namespace ovrel;

TEST(VersionFeed, ANewerVersionIsAvailableWithItsFieldsAsGiven) {
    const CheckResult result = VersionFeed::evaluate(
        R"({"version":"1.3.0","dmgUrl":"https://example.com/Ovrel-1.3.0.dmg",
            "notesByLang":{"en":"Faster"},"publishedAt":"2025-03-01T08:00:00Z"})",
        "1.2.0");
    ASSERT_EQ(result.kind, CheckResult::Kind::available);
    EXPECT_EQ(result.release->version, "1.3.0");
    EXPECT_EQ(result.release->dmgUrl, QUrl("https://example.com/Ovrel-1.3.0.dmg"));
    EXPECT_EQ(result.release->notes, "") << "no flat notes in the feed";
    EXPECT_EQ(result.release->notesByLang, (QMap<QString, QString>{{"en", "Faster"}}));
    EXPECT_EQ(result.release->publishedAt, "2025-03-01T08:00:00Z");
}

TEST(VersionFeed, TheSameOrAnOlderVersionIsUpToDate) {
    const QByteArray feed = R"({"version":"1.2.0","dmgUrl":"https://example.com/a.dmg"})";
    EXPECT_EQ(VersionFeed::evaluate(feed, "1.2.0"), CheckResult::upToDate());
    EXPECT_EQ(VersionFeed::evaluate(feed, "1.10.0"), CheckResult::upToDate());
    EXPECT_EQ(VersionFeed::evaluate(feed, "0.0.0").kind, CheckResult::Kind::available)
        << "a program without a version is older than any release";
}

TEST(VersionFeed, AnythingButTheFeedShapeFails) {
    for (const QByteArray& body : {
             QByteArray(),
             QByteArray("<html>503</html>"),
             QByteArray(R"(["1.3.0"])"),
             QByteArray(R"({"version":"1.3.0"})"),
             QByteArray(R"({"version":1.3,"dmgUrl":"https://example.com/a.dmg"})"),
             QByteArray(R"({"version":"1.3.0","dmgUrl":"not a url"})"),
             QByteArray(R"({"version":"1.3.0","dmgUrl":"relative/a.dmg"})"),
             QByteArray(R"({"version":"1.3.0","dmgUrl":"https://e.com/a","notes":7})"),
             QByteArray(R"({"version":"1.3.0","dmgUrl":"https://e.com/a","notesByLang":{"en":1}})"),
             QByteArray(R"({"version":"1.3.0","dmgUrl":"https://e.com/a","publishedAt":[]})"),
         })
        EXPECT_EQ(VersionFeed::evaluate(body, "1.0.0"), CheckResult::failed()) << body.constData();
}

TEST(UpdateDecision, NotifiesANewerVersionOnlyOnce) {
    EXPECT_TRUE(UpdateDecision::shouldNotify("1.3.0", std::nullopt, "1.2.0"));
    EXPECT_TRUE(UpdateDecision::shouldNotify("1.3.0", QString("1.2.5"), "1.2.0"));
    EXPECT_FALSE(UpdateDecision::shouldNotify("1.3.0", QString("1.3.0"), "1.2.0"));
    EXPECT_FALSE(UpdateDecision::shouldNotify("1.2.0", std::nullopt, "1.2.0"));
}

TEST(ReleaseNotes, InterfaceLanguageThenEnglishThenVietnameseThenFlat) {
    const QMap<QString, QString> notes{{"en", "English"}, {"vi", "Tiếng Việt"}, {"ja", "  \n"}};
    EXPECT_EQ(ReleaseNotes::pick(notes, "flat", AppLanguage::ja), "English");
    EXPECT_EQ(ReleaseNotes::pick(notes, "flat", AppLanguage::vi), QString::fromUtf8("Tiếng Việt"));
    EXPECT_EQ(ReleaseNotes::pick(QMap<QString, QString>{{"vi", "VN"}}, "flat", AppLanguage::fr),
              "VN");
    EXPECT_EQ(ReleaseNotes::pick(std::nullopt, " flat ", AppLanguage::en), " flat ");
    EXPECT_EQ(ReleaseNotes::pick(QMap<QString, QString>{{"en", ""}}, " \n", AppLanguage::en), "");
}
