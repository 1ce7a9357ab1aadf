#include "OvrelHub/shell/ServiceEndpoints.h"
#include "Platform/system/SystemLog.h"

#include <gtest/gtest.h>

using namespace ovrel;

TEST(ServiceEndpoints, ResolveApiBaseAcceptsOnlySchemeAndHost) {
    SystemLogCapture log;
    EXPECT_EQ(
        ServiceEndpoints::resolveApiBase(QString("http://127.0.0.1:9000"), "https://d.example"),
        QUrl("http://127.0.0.1:9000"));
    EXPECT_EQ(ServiceEndpoints::resolveApiBase(std::nullopt, "https://d.example"),
              QUrl("https://d.example"));
    EXPECT_TRUE(log.lines().isEmpty());

    EXPECT_EQ(ServiceEndpoints::resolveApiBase(QString(""), "https://d.example"),
              QUrl("https://d.example"));
    EXPECT_TRUE(log.lines().isEmpty()) << "an empty override is not worth a log line";

    EXPECT_EQ(ServiceEndpoints::resolveApiBase(QString("not a url"), "https://d.example"),
              QUrl("https://d.example"));
    EXPECT_EQ(ServiceEndpoints::resolveApiBase(QString("file:///etc"), "https://d.example"),
              QUrl("https://d.example"));
    ASSERT_EQ(log.lines().size(), 2);
    EXPECT_EQ(log.lines()[0],
              QString::fromUtf8("Ovrel: apiBaseURL override \"not a url\" không phải "
                                "URL hợp lệ — dùng lại địa chỉ mặc định"));
    EXPECT_EQ(ServiceEndpoints::resolveApiBase(std::nullopt, ""), QUrl("about:blank"));
}

TEST(ServiceEndpoints, PlainHttpIsAcceptedOnlyForThisMachine) {
    SystemLogCapture log;
    for (const char* accepted :
         {"https://svc.example/", "http://localhost:8080", "http://[::1]:1/"})
        EXPECT_EQ(ServiceEndpoints::resolveApiBase(QString(accepted), "https://d.example"),
                  QUrl(accepted));
    for (const char* refused : {"http://svc.example", "http://127.0.0.2", "ftp://localhost"})
        EXPECT_EQ(ServiceEndpoints::resolveApiBase(QString(refused), "https://d.example"),
                  QUrl("https://d.example"));
    EXPECT_EQ(log.lines().size(), 3);
}

TEST(ServiceEndpoints, CatalogAndArchiveReplaceTheQuery) {
    const QUrl base("https://svc.example/root?x=1#frag");
    EXPECT_EQ(ServiceEndpoints::catalog(base, "1.4.0").toString(),
              "https://svc.example/root/api/modules?host=1.4.0");
    EXPECT_EQ(
        ServiceEndpoints::moduleDownload(QUrl("https://svc.example/"), "clock", "1.4.0").toString(),
        "https://svc.example/api/modules/clock/download?host=1.4.0");
    EXPECT_EQ(ServiceEndpoints::catalog(QUrl("http://localhost:8080"), "0.1.0").toString(),
              "http://localhost:8080/api/modules?host=0.1.0");
}

TEST(ServiceEndpoints, TextAppendedRequestsKeepTheBaseAsWritten) {
    EXPECT_EQ(ServiceEndpoints::authStart("https://s.example", "google")->toString(),
              "https://s.example/api/auth/google/start");
    EXPECT_EQ(ServiceEndpoints::authExchange("https://s.example")->toString(),
              "https://s.example/api/auth/exchange");
    EXPECT_EQ(ServiceEndpoints::authProfile("https://s.example")->toString(),
              "https://s.example/api/auth/me");
    EXPECT_EQ(ServiceEndpoints::authLogout("https://s.example")->toString(),
              "https://s.example/api/auth/logout");
    EXPECT_EQ(ServiceEndpoints::account("https://s.example")->toString(),
              "https://s.example/api/account");
    // A base ending in "/" gives a double slash: appending is plain text.
    EXPECT_EQ(ServiceEndpoints::sync("https://s.example/", "moduleSettings:macos")->path(),
              "//api/sync/moduleSettings:macos");
    EXPECT_FALSE(ServiceEndpoints::account("").has_value());
    EXPECT_FALSE(ServiceEndpoints::account("::::").has_value());
}

TEST(ServiceEndpoints, VersionFeedAppendsProductAndPlatform) {
    EXPECT_EQ(ServiceEndpoints::versionFeed(std::nullopt, "lite", "macos")->toString(),
              ServiceEndpoints::builtInBase() + "/api/version?product=lite&platform=macos");
    EXPECT_EQ(ServiceEndpoints::versionFeed(QString("http://127.0.0.1:1/feed?channel=beta"), "app",
                                            "macos")
                  ->toString(),
              "http://127.0.0.1:1/feed?channel=beta&product=app&platform=macos");
    EXPECT_FALSE(ServiceEndpoints::versionFeed(QString("%%%"), "lite", "macos").has_value());
}

TEST(ServiceEndpoints, PagesUseTheBuiltInBaseAndLanguagePrefix) {
    const QString base = ServiceEndpoints::builtInBase();
    EXPECT_EQ(ServiceEndpoints::guidePage(AppLanguage::vi)->toString(), base + "/guide");
    EXPECT_EQ(ServiceEndpoints::guidePage(AppLanguage::en)->toString(), base + "/en/guide");
    EXPECT_EQ(ServiceEndpoints::guidePage(AppLanguage::zh)->toString(), base + "/zh/guide");
    EXPECT_EQ(ServiceEndpoints::privacyPage(AppLanguage::vi)->toString(), base + "/privacy");
    EXPECT_EQ(ServiceEndpoints::privacyPage(AppLanguage::fr)->toString(), base + "/fr/privacy");
    EXPECT_EQ(ServiceEndpoints::downloadPage("http://localhost:1", "lite", "macos")->toString(),
              "http://localhost:1/download?product=lite&platform=macos&source=app");
}

TEST(ServiceEndpoints, AuthorizationIsABearerHeader) {
    const auto [name, value] = ServiceEndpoints::authorization("tok-123");
    EXPECT_EQ(name, QByteArray("Authorization"));
    EXPECT_EQ(value, QByteArray("Bearer tok-123"));
}
