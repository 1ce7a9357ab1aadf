#include "OvrelHub/shell/ServiceRequest.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

// A transport the test drives: it keeps each hop and its events, and counts
// exchanges that were dropped before they finished.
class FakeHttpTransport : public HttpTransport {
public:
    struct Exchange : HttpExchange {
        Exchange(FakeHttpTransport& owner) : owner(owner) {}
        ~Exchange() override { ++owner.dropped; }
        FakeHttpTransport& owner;
    };

    std::unique_ptr<HttpExchange> start(const HttpHop& hop, HttpEvents events) override {
        hops.push_back(hop);
        this->events = std::move(events);
        return std::make_unique<Exchange>(*this);
    }
    void prepareEncryption() override {}

    std::vector<HttpHop> hops;
    HttpEvents events;
    int dropped = 0;
};

QByteArray header(const HttpHop& hop, const QByteArray& name) {
    for (const auto& [key, value] : hop.headers) {
        if (key == name)
            return value;
    }
    return {};
}

} // namespace

// The request's rules sit above the transport: the token stays with its
// origin across hops, an answer over its limit stops the exchange, and an
// owner that goes away fails what it still had in flight.
TEST(ServiceRequestTransport, RulesHoldWhateverTheTransportDelivers) {
    FakeHttpTransport transport;
    std::optional<ServiceNetwork> network;
    network.emplace(transport);
    {
        ServiceRequestOptions options;
        options.url = QUrl("https://api.example/catalog");
        options.token = QStringLiteral("tok");
        options.maxBodyBytes = 10;
        QFuture<ServiceResponse> answer = ServiceRequest::send(*network, options);
        ASSERT_EQ(transport.hops.size(), 1u);
        EXPECT_EQ(header(transport.hops[0], "Authorization"), "Bearer tok");
        EXPECT_EQ(header(transport.hops[0], "Accept-Encoding"), "identity");

        transport.events.finished({false, {}, {302, 0, QUrl("https://cdn.example/a.zip")}});
        ASSERT_EQ(transport.hops.size(), 2u);
        EXPECT_EQ(header(transport.hops[1], "Authorization"), QByteArray());

        transport.events.head({200, -1, {}});
        transport.events.data(QByteArray(11, 'x'));
        EXPECT_EQ(transport.dropped, 2); // the redirect's exchange, then this one
        ASSERT_TRUE(answer.isFinished());
        try {
            answer.waitForFinished();
            FAIL() << "an answer over its limit was accepted";
        } catch (const ServiceTransportError& error) {
            EXPECT_EQ(error.kind(), ServiceTransportError::Kind::tooLarge);
        }

        ServiceRequestOptions second;
        second.url = QUrl("https://api.example/me");
        answer = ServiceRequest::send(*network, second);
        transport.events.head({200, 100, {}});
        transport.events.data("partial");
        EXPECT_FALSE(answer.isFinished());
        network.reset(); // with the request in flight
        EXPECT_EQ(transport.dropped, 3);
        ASSERT_TRUE(answer.isFinished());
        try {
            answer.waitForFinished();
            FAIL() << "an abandoned request finished well";
        } catch (const ServiceTransportError& error) {
            EXPECT_EQ(error.description(), QStringLiteral("the request was abandoned"));
        }
    }
}
