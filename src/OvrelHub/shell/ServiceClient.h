#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

class QNetworkReply;

namespace ovrel {

// The answer to one request to the online service.
struct ServiceReply {
    std::optional<int> status; // absent: no HTTP answer (transport error, refused)
    QByteArray body;

    bool isStatus(int code) const { return status && *status == code; }
};

// Sends the hub's requests to the online service, with or without the session
// token, and hands back one ServiceReply per request on the main thread.
//
// The token travels only where it is safe: to https, or to plain http on this
// machine (127.0.0.1, localhost); a request that would carry it elsewhere is
// not sent, and neither is a confidential one. Redirects are followed here rather than by the
// network library, which would copy "Authorization" to any host: the header is dropped as soon as a
// redirect leaves the first request's origin. Every request has a 60-second timeout and a bounded
// answer. The token never appears in a log. Main thread only; completions are dropped when their
// context is gone.
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
    static bool mayCarryToken(const QUrl& url);
    static bool sameOrigin(const QUrl& a, const QUrl& b);

private:
    struct Transfer;
    void start(std::shared_ptr<Transfer> transfer);
    void finished(std::shared_ptr<Transfer> transfer, QNetworkReply* reply);

    QNetworkAccessManager m_network;
};

} // namespace ovrel
