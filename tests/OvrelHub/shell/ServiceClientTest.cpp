#include "OvrelHub/shell/ServiceClient.h"

#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerResponse>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

// Two local origins: "echo" answers with the Authorization header it got and
// the method; "to" redirects with the status and target given in the query.
struct TwoOrigins {
    TwoOrigins() {
        for (QHttpServer* server : {&first, &second}) {
            server->route("/echo", [](const QHttpServerRequest& request) {
                const QByteArray method =
                    request.method() == QHttpServerRequest::Method::Post ? "POST" : "GET";
                return QHttpServerResponse(method + " " + request.value("Authorization"));
            });
            server->route("/to", [](const QHttpServerRequest& request) {
                const int status = request.query().queryItemValue("status").toInt();
                QHttpServerResponse response(static_cast<QHttpServerResponder::StatusCode>(status));
                response.setHeader(
                    "Location",
                    request.query().queryItemValue("target", QUrl::FullyDecoded).toUtf8());
                return response;
            });
            server->route("/loop", [] {
                QHttpServerResponse response(QHttpServerResponder::StatusCode::Found);
                response.setHeader("Location", "/loop");
                return response;
            });
        }
        firstPort = first.listen(QHostAddress::LocalHost);
        secondPort = second.listen(QHostAddress::LocalHost);
    }
    QUrl url(quint16 port, const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path));
    }
    QUrl redirect(int status, const QUrl& target) const {
        QUrl to = url(firstPort, "/to");
        to.setQuery("status=" + QString::number(status) +
                    "&target=" + QString::fromLatin1(QUrl::toPercentEncoding(target.toString())));
        return to;
    }

    QHttpServer first;
    QHttpServer second;
    quint16 firstPort = 0;
    quint16 secondPort = 0;
};

ServiceReply send(ServiceClient& client, ServiceClient::Request request) {
    std::optional<ServiceReply> answer;
    QObject context;
    client.send(request, &context, [&](const ServiceReply& reply) { answer = reply; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 20000));
    return answer.value_or(ServiceReply{});
}

ServiceClient::Request withToken(const QUrl& url, QByteArray method = "GET") {
    ServiceClient::Request request;
    request.method = method;
    request.url = url;
    request.token = QStringLiteral("tok123");
    return request;
}

} // namespace

TEST(ServiceClient, TheTokenFollowsRedirectsOnlyWithinTheFirstOrigin) {
    TwoOrigins origins;
    ServiceClient client;
    const QUrl sameEcho = origins.url(origins.firstPort, "/echo");
    const QUrl otherEcho = origins.url(origins.secondPort, "/echo");

    EXPECT_EQ(send(client, withToken(sameEcho)).body, "GET Bearer tok123");
    EXPECT_EQ(send(client, withToken(origins.redirect(302, sameEcho))).body, "GET Bearer tok123");
    const ServiceReply crossed = send(client, withToken(origins.redirect(307, otherEcho)));
    EXPECT_EQ(crossed.status, 200);
    EXPECT_EQ(crossed.body, "GET ") << "no Authorization on the other origin";
    // Back on the first origin after a detour, the address was chosen by the
    // other origin: the token stays dropped.
    const ServiceReply detour =
        send(client, withToken(origins.redirect(
                         302, QUrl(QStringLiteral("http://127.0.0.1:%1/to?status=302&target=%2")
                                       .arg(origins.secondPort)
                                       .arg(QString::fromLatin1(
                                           QUrl::toPercentEncoding(sameEcho.toString())))))));
    EXPECT_EQ(detour.status, 200);
    EXPECT_EQ(detour.body, "GET ");
}

TEST(ServiceClient, RedirectsChangeMethodsAsBrowsersDo) {
    TwoOrigins origins;
    ServiceClient client;
    const QUrl echo = origins.url(origins.firstPort, "/echo");
    EXPECT_EQ(send(client, withToken(origins.redirect(303, echo), "POST")).body,
              "GET Bearer tok123");
    EXPECT_EQ(send(client, withToken(origins.redirect(307, echo), "POST")).body,
              "POST Bearer tok123");
}

TEST(ServiceClient, CredentialsNeverTravelWhereTheyCouldBeRead) {
    TwoOrigins origins;
    ServiceClient client;
    EXPECT_FALSE(send(client, withToken(QUrl("http://example.invalid/api/auth/me"))).status)
        << "plain http to another machine";
    EXPECT_FALSE(send(client, withToken(QUrl("ftp://127.0.0.1/x"))).status);

    ServiceClient::Request exchange;
    exchange.method = "POST";
    exchange.confidential = true;
    exchange.url = origins.redirect(307, origins.url(origins.secondPort, "/echo"));
    EXPECT_FALSE(send(client, exchange).status) << "a code is not handed to another origin";

    // A redirect loop ends.
    EXPECT_FALSE(send(client, withToken(origins.url(origins.firstPort, "/loop"))).status);
}

TEST(ServiceClient, OriginsCompareSchemeHostAndPortAsWritten) {
    EXPECT_TRUE(ServiceClient::sameOrigin(QUrl("https://A.example/x"), QUrl("https://a.example/y")));
    EXPECT_FALSE(
        ServiceClient::sameOrigin(QUrl("https://a.example/x"), QUrl("https://a.example:443/y")))
        << "an explicit default port and none differ";
    EXPECT_FALSE(ServiceClient::sameOrigin(QUrl("https://a.example"), QUrl("http://a.example")));
    EXPECT_FALSE(ServiceClient::sameOrigin(QUrl("https://a.example"), QUrl("https://b.a.example")));
    EXPECT_TRUE(ServiceClient::mayCarryToken(QUrl("http://localhost:8080")));
    EXPECT_FALSE(ServiceClient::mayCarryToken(QUrl("http://10.0.0.1")));
}
