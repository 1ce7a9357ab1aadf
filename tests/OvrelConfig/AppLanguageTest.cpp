#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/HubLanguage.h"

#include <QLocale>
#include <atomic>
#include <gtest/gtest.h>

using namespace ovrel;

TEST(AppLanguage, CasesInPickerOrder) {
    const auto& cases = AppLanguages::allCases();
    QStringList raw;
    for (const AppLanguage language : cases)
        raw << AppLanguages::rawValue(language);
    EXPECT_EQ(raw, QStringList({"vi", "en", "zh", "ja", "ko", "fr", "es"}));
    EXPECT_EQ(cases.front(), AppLanguage::vi);
    EXPECT_EQ(cases.back(), AppLanguage::es);
}

TEST(AppLanguage, RawValuesRoundTrip) {
    for (const AppLanguage language : AppLanguages::allCases())
        EXPECT_EQ(AppLanguages::fromRawValue(AppLanguages::rawValue(language)), language);
}

TEST(AppLanguage, OnlyExactRawValuesParse) {
    for (const char* raw : {"de", "", "EN", "vi-VN", "vi_VN", " vi", "en ", "english", "zh-Hans"})
        EXPECT_FALSE(AppLanguages::fromRawValue(QString::fromUtf8(raw)).has_value()) << raw;
}

TEST(AppLanguage, NativeNames) {
    EXPECT_EQ(AppLanguages::nativeName(AppLanguage::vi), QStringLiteral("Tiếng Việt"));
    EXPECT_EQ(AppLanguages::nativeName(AppLanguage::en), QStringLiteral("English"));
    EXPECT_EQ(AppLanguages::nativeName(AppLanguage::zh), QStringLiteral("中文"));
    EXPECT_EQ(AppLanguages::nativeName(AppLanguage::ja), QStringLiteral("日本語"));
    EXPECT_EQ(AppLanguages::nativeName(AppLanguage::ko), QStringLiteral("한국어"));
    EXPECT_EQ(AppLanguages::nativeName(AppLanguage::fr), QStringLiteral("Français"));
    EXPECT_EQ(AppLanguages::nativeName(AppLanguage::es), QStringLiteral("Español"));
}

TEST(AppLanguage, SystemDefaultFollowsTheLocaleLanguage) {
    using AppLanguages::systemDefault;
    EXPECT_EQ(systemDefault(QLocale(QStringLiteral("ja_JP"))), AppLanguage::ja);
    EXPECT_EQ(systemDefault(QLocale(QStringLiteral("vi_VN"))), AppLanguage::vi);
    EXPECT_EQ(systemDefault(QLocale(QStringLiteral("en_GB"))), AppLanguage::en);
    EXPECT_EQ(systemDefault(QLocale(QStringLiteral("zh_TW"))), AppLanguage::zh);
    EXPECT_EQ(systemDefault(QLocale(QStringLiteral("ko_KR"))), AppLanguage::ko);
    EXPECT_EQ(systemDefault(QLocale(QStringLiteral("fr_CA"))), AppLanguage::fr);
    EXPECT_EQ(systemDefault(QLocale(QStringLiteral("es_MX"))), AppLanguage::es);
}

TEST(AppLanguage, SystemDefaultIsVietnameseForOtherLanguages) {
    using AppLanguages::systemDefault;
    EXPECT_EQ(systemDefault(QLocale(QStringLiteral("de_DE"))), AppLanguage::vi);
    EXPECT_EQ(systemDefault(QLocale(QStringLiteral("pt_BR"))), AppLanguage::vi);
    EXPECT_EQ(systemDefault(QLocale::c()), AppLanguage::vi);
    EXPECT_EQ(systemDefault(QLocale(QLocale::AnyLanguage)), AppLanguage::vi);
    EXPECT_EQ(AppLanguages::systemDefault(), systemDefault(QLocale::system()));
}

class HubLanguageTest : public ::testing::Test {
protected:
    void TearDown() override { HubLanguage::setProvider({}); }
};

TEST_F(HubLanguageTest, DefaultsToTheSystemLanguage) {
    EXPECT_EQ(HubLanguage::current(), AppLanguages::systemDefault());
}

TEST_F(HubLanguageTest, AsksTheInstalledProviderOnEveryCall) {
    std::atomic<int> calls = 0;
    AppLanguage answer = AppLanguage::ja;
    HubLanguage::setProvider([&] {
        ++calls;
        return answer;
    });
    EXPECT_EQ(HubLanguage::current(), AppLanguage::ja);
    answer = AppLanguage::ko;
    EXPECT_EQ(HubLanguage::current(), AppLanguage::ko);
    EXPECT_EQ(calls, 2);

    HubLanguage::setProvider([] { return AppLanguage::es; });
    EXPECT_EQ(HubLanguage::current(), AppLanguage::es);
    EXPECT_EQ(calls, 2);

    HubLanguage::setProvider({});
    EXPECT_EQ(HubLanguage::current(), AppLanguages::systemDefault());
}

TEST_F(HubLanguageTest, ProviderMayReplaceItself) {
    HubLanguage::setProvider([] {
        HubLanguage::setProvider([] { return AppLanguage::fr; });
        return AppLanguage::zh;
    });
    EXPECT_EQ(HubLanguage::current(), AppLanguage::zh);
    EXPECT_EQ(HubLanguage::current(), AppLanguage::fr);
}
