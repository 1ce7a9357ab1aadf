#pragma once

#include "OvrelHub/shell/ServiceRequest.h"

#include <QByteArray>
#include "OvrelHub/shell/ServiceRequest.h"
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace ovrel {

// The answer to one request to the online service.
struct ServiceReply {
    std::optional<int> status; // absent: no HTTP answer (transport error, refused)
    QByteArray body;

    bool isStatus(int code) const { return status && *status == code; }
};

// The account services' way to the online service: ServiceRequest (which
// decides where the token and other credentials may travel, follows redirects
// and bounds time and size) with one ServiceReply per request handed to a
// completion on the main thread. Every failure without a complete HTTP answer
// is a reply without a status. Requests time out after 60 seconds without a
// byte, answers are bounded (16 MiB) and follow at most 10 redirects. The
// token never appears in a log. Main thread only; completions are dropped
// when their context is gone.
class ServiceClient : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 60'000;
    static constexpr int kMaxRedirects = 10;
    static constexpr qint64 kMaxAnswerBytes = 16 * 1024 * 1024;

    struct Request {
        QByteArray method = "GET";
        QUrl url;
        std::optional<QString> token; // sent as "Authorization: Bearer <token>"
        QByteArray body;
        QByteArray contentType; // empty: no "Content-Type"
        // The body or the answer is a credential (a sign-in code, a new
        // token): held to the token's rules, and never redirected elsewhere.
        bool confidential = false;
    };
    using Completion = std::function<void(const ServiceReply&)>;

    explicit ServiceClient(QObject* parent = nullptr);

    // The hub's client; lives until the process ends.
    static ServiceClient& shared();

    // A request whose completion nobody waits for may pass a null context.
    void send(const Request& request, QObject* context, Completion completion);

    // Whether a request to url may carry the session token.
    static bool mayCarryToken(const QUrl& url) { return ServiceRequest::mayCarryToken(url); }
    static bool sameOrigin(const QUrl& a, const QUrl& b) {
        return ServiceRequest::sameOrigin(a, b);
    }

private:
    ServiceNetwork m_network;
};

} // namespace ovrel
