#include "OvrelModuleKit/inbox/ModuleHostState.h"

#include "JsonCorpus.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "Platform/files/FileError.h"
#include "Platform/notify/DarwinNotify.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QTest>
#include <gtest/gtest.h>

using ovrel::ModulePaths;
namespace HostState = ovrel::ModuleHostState;

namespace {

class ModuleHostStateTest : public ::testing::Test {
protected:
    ovrel::test::TempDir dir;
    ModulePaths paths{dir.path() + "/not/yet/Ovrel"};

    void putHostFile(const QByteArray& bytes) const {
        ovrel::test::writeFile(paths.hostFile(), bytes);
    }
    QUrl apiBaseFor(const QString& url) const {
        putHostFile(R"({"apiBaseURL":")" + url.toUtf8() + R"("})");
        return HostState::apiBaseURL(paths);
    }
};

} // namespace

TEST_F(ModuleHostStateTest, WritesBothValuesInOrderAndReadsThemBack) {
    HostState::write("ja", QUrl("http://127.0.0.1:8123/api/"), paths);
    EXPECT_EQ(ovrel::test::readFile(paths.hostFile()).toStdString(),
              R"({"appLanguage":"ja","apiBaseURL":"http://127.0.0.1:8123/api/"})");
    EXPECT_EQ(HostState::language(paths), "ja");
    EXPECT_EQ(HostState::apiBaseURL(paths), QUrl("http://127.0.0.1:8123/api/"));

    HostState::write("en", QUrl("https://example.com/x y"), paths);
    EXPECT_EQ(ovrel::test::readFile(paths.hostFile()).toStdString(),
              R"({"appLanguage":"en","apiBaseURL":"https://example.com/x%20y"})");
}

TEST_F(ModuleHostStateTest, WriteFailureIsThrown) {
    ovrel::test::writeFile(paths.root(), "a file where the root belongs");
    EXPECT_THROW(HostState::write("vi", HostState::defaultAPIBase(), paths), ovrel::FileError);
}

TEST_F(ModuleHostStateTest, WritePostsTheHostNotification) {
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no D-Bus session bus";
    int posted = 0;
    const auto token =
        ovrel::DarwinNotify::observe(ovrel::ModuleNotify::hostName(), [&posted] { ++posted; });
    HostState::write("fr", HostState::defaultAPIBase(), paths);
    EXPECT_TRUE(QTest::qWaitFor([&] { return posted == 1; }, 5000));
}

TEST_F(ModuleHostStateTest, DefaultsWhenThereIsNothingUsable) {
    EXPECT_EQ(HostState::defaultLanguage, QLatin1String("vi"));
    EXPECT_EQ(HostState::defaultAPIBase().scheme(), "https");
    EXPECT_FALSE(HostState::defaultAPIBase().host().isEmpty());

    EXPECT_EQ(HostState::language(paths), "vi"); // no file
    EXPECT_EQ(HostState::apiBaseURL(paths), HostState::defaultAPIBase());

    const char* unusable[] = {
        "",
        "{}",
        R"({"appLanguage":"de","apiBaseURL":"gopher://x"})",
        R"({"appLanguage":"JA"})",
        R"({"appLanguage":null,"apiBaseURL":null})",
        R"(["ja"])",
    };
    for (const char* json : unusable) {
        putHostFile(json);
        EXPECT_EQ(HostState::language(paths), "vi") << json;
        EXPECT_EQ(HostState::apiBaseURL(paths), HostState::defaultAPIBase()) << json;
    }
}

TEST_F(ModuleHostStateTest, AValueOfTheWrongTypeSpoilsTheWholeFile) {
    putHostFile(R"({"appLanguage":"ko","apiBaseURL":42})");
    EXPECT_EQ(HostState::language(paths), "vi");
    putHostFile(R"({"appLanguage":["ko"],"apiBaseURL":"https://a.example"})");
    EXPECT_EQ(HostState::apiBaseURL(paths), HostState::defaultAPIBase());
}

TEST_F(ModuleHostStateTest, EverySupportedLanguageIsPassedOn) {
    for (const char* code : {"vi", "en", "zh", "ja", "ko", "fr", "es"}) {
        putHostFile(QByteArray(R"({"appLanguage":")") + code + R"("})");
        EXPECT_EQ(HostState::language(paths), code);
    }
}

TEST_F(ModuleHostStateTest, ServiceBaseMustBeHttpsOrLoopbackHttp) {
    const char* accepted[] = {
        "https://api.example.com",    "https://api.example.com:8443/v1/",
        "HTTPS://API.example.com/",   "http://127.0.0.1",
        "http://127.0.0.1:49152/",    "http://localhost:8080/base",
        "https://user@host.example/", "https://[2001:db8::1]/",
    };
    for (const char* url : accepted)
        EXPECT_EQ(apiBaseFor(url), QUrl(url)) << url;

    const char* refused[] = {
        "http://example.com",
        "http://127.0.0.2/",
        "http://localhost.evil.com/",
        "http://127.0.0.1@evil.com/",
        "http://127.0.0.1.",
        "http://[::1]/",
        "https:///path",
        "https:",
        "ftp://127.0.0.1/",
        "file:///etc/passwd",
        "//api.example.com",
        "api.example.com",
        "localhost:8080",
        "https://exa mple.com",
        "javascript:alert(1)",
        "",
        "https://%6c%6fcalhost/",
    };
    for (const char* url : refused)
        EXPECT_EQ(apiBaseFor(url), HostState::defaultAPIBase()) << url;
}

TEST_F(ModuleHostStateTest, AnUnpairedSurrogateEscapeMakesTheFileUnreadable) {
    putHostFile(R"({"appLanguage":"en","apiBaseURL":"https://example.com"})");
    ASSERT_EQ(HostState::language(paths), "en");
    putHostFile(R"({"appLanguage":"en","apiBaseURL":"https://example.com/\udead"})");
    EXPECT_EQ(HostState::language(paths), "vi");
    EXPECT_EQ(HostState::apiBaseURL(paths), HostState::defaultAPIBase());
}

TEST_F(ModuleHostStateTest, SurvivesTheJsonCorpus) {
    OVREL_REQUIRE_JSON_CORPUS(files);
    for (const QString& file : files) {
        putHostFile(ovrel::test::readFile(file));
        EXPECT_EQ(HostState::language(paths), "vi") << file.toStdString();
        EXPECT_EQ(HostState::apiBaseURL(paths), HostState::defaultAPIBase()) << file.toStdString();
    }
}
