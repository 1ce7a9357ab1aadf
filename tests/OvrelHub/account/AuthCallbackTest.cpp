#include "AccountSandbox.h"
#include "OvrelConfig/HubLanguage.h"
#include "OvrelConfig/Loc.h"
#include "OvrelHub/account/AuthUser.h"
#include "Platform/system/SystemLog.h"

#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;

namespace {

// The hub as it stands after opening the sign-in page, with a clock the test moves.
struct SignInInProgress {
    SignInInProgress() : machine(QStringLiteral("http://127.0.0.1:9")) {}

    QUrl callback(const QString& query) {
        return QUrl(QStringLiteral("ovrel-lite://auth?") + query);
    }
    QString state() const {
        return QUrlQuery(machine.opened.last()).queryItemValue(QStringLiteral("state"));
    }

    AccountSandbox machine;
};

} // namespace

TEST(AuthCallback, ForgedCallbacksAreRefusedAndLoggedWithoutTheirCode) {
    SignInInProgress hub;
    hub.machine.auth.startLogin(QStringLiteral("google"));
    ASSERT_EQ(hub.machine.opened.size(), 1);
    EXPECT_FALSE(hub.state().isEmpty());

    SystemLogCapture log;
    hub.machine.auth.handleCallback(hub.callback("code=SECRETCODE"));
    hub.machine.auth.handleCallback(hub.callback("code=SECRETCODE&state=made-up"));
    hub.machine.auth.handleCallback(hub.callback("error=boom&state=made-up"));
    EXPECT_FALSE(hub.machine.auth.isBusy());
    EXPECT_FALSE(hub.machine.auth.errorMessage());
    ASSERT_EQ(log.lines().size(), 3);
    for (const QString& line : log.lines()) {
        EXPECT_TRUE(line.startsWith("Ovrel: "));
        EXPECT_FALSE(line.contains("SECRETCODE"));
    }
    // The genuine state still works after forged attempts.
    hub.machine.auth.handleCallback(hub.callback("error=denied&state=" + hub.state()));
    EXPECT_TRUE(hub.machine.auth.errorMessage());
}

TEST(AuthCallback, ALateCallbackIsRefused) {
    auto now = std::chrono::steady_clock::now();
    AccountSandbox machine(QStringLiteral("http://127.0.0.1:9"));
    AuthService auth({machine.defaults, machine.sessions, machine.client, machine.sessionLost,
                      [] { return QStringLiteral("http://127.0.0.1:9"); },
                      [&](const QUrl& url) {
                          machine.opened.append(url);
                          return true;
                      },
                      [&] { return now; }});
    auth.startLogin(QStringLiteral("discord"));
    const QString state = QUrlQuery(machine.opened.last()).queryItemValue("state");
    now += SignInAttempts::kLifetime + std::chrono::seconds(1);
    SystemLogCapture log;
    auth.handleCallback(QUrl("ovrel-lite://auth?error=x&state=" + state));
    EXPECT_FALSE(auth.errorMessage());
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().contains("quá hạn"));
}

TEST(AuthCallback, AnErrorWinsOverACodeAndEmptyItemsDoNothing) {
    SignInInProgress hub;
    hub.machine.auth.startLogin(QStringLiteral("google"));
    hub.machine.auth.handleCallback(hub.callback("code&state=" + hub.state()));
    hub.machine.auth.handleCallback(hub.callback("error=&state=" + hub.state()));
    EXPECT_FALSE(hub.machine.auth.isBusy());
    EXPECT_FALSE(hub.machine.auth.errorMessage());

    // Control characters of the service's text never reach the account tab.
    hub.machine.auth.handleCallback(hub.callback("error=bad%0Aline&code=abc&state=" + hub.state()));
    EXPECT_FALSE(hub.machine.auth.isBusy()) << "no exchange alongside an error";
    EXPECT_EQ(hub.machine.auth.errorMessage(),
              Loc::format(LocKey::loginFailedFormat, HubLanguage::current(), {"bad line"}));
}

TEST(AuthCallback, OnlyKnownProvidersOpenAPage) {
    AccountSandbox machine(QStringLiteral("http://127.0.0.1:9"));
    machine.auth.startLogin(QStringLiteral("../admin"));
    EXPECT_TRUE(machine.opened.isEmpty());
    AccountSandbox badBase(QStringLiteral("not a url"));
    badBase.auth.startLogin(QStringLiteral("google"));
    badBase.auth.me();
    badBase.auth.logout();
    EXPECT_TRUE(badBase.opened.isEmpty());
    EXPECT_FALSE(badBase.auth.errorMessage());
}

TEST(ExchangeResponse, AcceptsOnlyUsableTokensAndProfilesOfStrings) {
    const auto minimal = ExchangeResponse::decode(R"({"token":"abc.DEF-1_~+/==","user":{}})");
    ASSERT_TRUE(minimal);
    EXPECT_EQ(minimal->user, AuthUser{});
    EXPECT_FALSE(ExchangeResponse::decode(R"({"token":"a b","user":{}})"));
    EXPECT_FALSE(ExchangeResponse::decode(R"({"token":"abc\r\nX-Evil: 1","user":{}})"));
    EXPECT_FALSE(ExchangeResponse::decode(R"({"token":"","user":{}})"));
    EXPECT_FALSE(ExchangeResponse::decode(R"({"token":"abc"})"));
    EXPECT_FALSE(ExchangeResponse::decode(R"({"token":"abc","user":{"email":5}})"));
    const auto user = AuthUser::decode(R"({"email":null,"name":"Ann","extra":[1]})");
    ASSERT_TRUE(user);
    EXPECT_EQ(user->name, QStringLiteral("Ann"));
    EXPECT_FALSE(user->email);
}
