#include "OvrelModuleKit/text/LocalizedText.h"
#include "OvrelModuleKit/json/JsonDecodingError.h"
#include "OvrelModuleKit/json/JsonReader.h"

#include <gtest/gtest.h>

using namespace ovrel;

TEST(LocalizedText, SupportsTheSevenInterfaceLanguagesInOrder) {
    EXPECT_EQ(LocalizedText::supportedCodes(),
              (QStringList{"vi", "en", "zh", "ja", "ko", "fr", "es"}));
}

TEST(LocalizedText, KeepsOnlySupportedCodesWithNonBlankTexts) {
    const LocalizedText t({{"vi", "  Xin chào "},
                           {"en", "\t\n"},
                           {"de", "Hallo"},
                           {"EN", "Hello"},
                           {"ja", "\u3000"},   // ideographic space only
                           {"ko", "\u200B"}}); // zero-width space is not white space
    EXPECT_EQ(t.values(), (QMap<QString, QString>{{"vi", "  Xin chào "}, {"ko", "\u200B"}}));
    EXPECT_FALSE(t.hasRequiredLanguages());
    EXPECT_FALSE(t.isEmpty());
    EXPECT_TRUE(LocalizedText().isEmpty());
}

TEST(LocalizedText, RequiresVietnameseAndEnglish) {
    EXPECT_TRUE(LocalizedText({{"vi", "a"}, {"en", "b"}}).hasRequiredLanguages());
    EXPECT_FALSE(LocalizedText({{"vi", "a"}, {"fr", "b"}}).hasRequiredLanguages());
    EXPECT_FALSE(LocalizedText({{"en", "b"}, {"zh", "c"}}).hasRequiredLanguages());
}

TEST(LocalizedText, FallsBackFromTheRequestedLanguageToEnglishThenVietnamese) {
    const LocalizedText all({{"vi", "Đồng hồ"}, {"en", "Clock"}, {"ja", "時計"}});
    EXPECT_EQ(all.text("ja"), QString("時計"));
    EXPECT_EQ(all.text("vi"), QString("Đồng hồ"));
    EXPECT_EQ(all.text("fr"), QString("Clock"));
    EXPECT_EQ(all.text("xx"), QString("Clock"));
    EXPECT_EQ(all.text(""), QString("Clock"));

    const LocalizedText vietnameseOnly({{"vi", "Đồng hồ"}, {"es", "Reloj"}});
    EXPECT_EQ(vietnameseOnly.text("zh"), QString("Đồng hồ"));
    EXPECT_EQ(vietnameseOnly.text("es"), QString("Reloj"));

    const LocalizedText frenchOnly({{"fr", "Horloge"}});
    EXPECT_EQ(frenchOnly.text("en"), std::nullopt);
    EXPECT_EQ(frenchOnly.text("fr"), QString("Horloge"));
    EXPECT_EQ(LocalizedText().text("vi"), std::nullopt);
}

TEST(LocalizedText, DecodesOnlyObjectsOfStrings) {
    const auto decode = [](const char* json) {
        return LocalizedText::decode(*JsonReader::parse(QByteArray(json)));
    };
    EXPECT_EQ(decode(R"({"vi":"a","en":"b","xx":"c"})"), LocalizedText({{"vi", "a"}, {"en", "b"}}));
    EXPECT_THROW(decode(R"({"vi":"a","xx":1})"), JsonDecodingError);
    EXPECT_THROW(decode(R"({"vi":null})"), JsonDecodingError);
    EXPECT_THROW(decode(R"(["vi","a"])"), JsonDecodingError);
    EXPECT_THROW(decode(R"("a")"), JsonDecodingError);
}

TEST(LocalizedText, FitsWithinCountsEveryLanguage) {
    const LocalizedText t({{"vi", "abc"}, {"en", "ab"}, {"zh", QString::fromUtf8("🇻🇳🇻🇳🇻🇳🇻🇳")}});
    EXPECT_TRUE(t.fitsWithin(4));
    EXPECT_FALSE(t.fitsWithin(3));
}
