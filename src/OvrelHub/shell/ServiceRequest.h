#pragma once

#include <QByteArray>
#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <chrono>
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "Platform/network/HttpTransport.h"

namespace ovrel {

// The signed-in session's token, or nothing when no one is signed in.
using BearerSource = std::function<std::optional<QString>()>;

// The request never got a complete HTTP answer.
class ServiceTransportError : public std::exception {
public:
    enum class Kind {
        network,          // connection, TLS or protocol failure, the body cut short
        timedOut,         // nothing arrived for the inactivity timeout
        tooManyRedirects, // more hops than allowed
        badRedirect,      // a redirect without a usable http(s) target
        tooLarge,         // the body exceeds the caller's limit
        file,             // the body file could not be written
        refused,          // not sent: a credential would have travelled where it could be read
        cancelled,        // the caller called the request off
    };
    ServiceTransportError(Kind kind, QString description)
        : m_kind(kind), m_description(std::move(description)), m_what(m_description.toStdString()) {
    }

    Kind kind() const { return m_kind; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    Kind m_kind;
    QString m_description;
    std::string m_what;
};

// Watches the body of one request as it arrives and lets its starter call it
// off. Main thread, like the request.
class TransferControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // A request in flight (or not yet started) fails with
    // ServiceTransportError::cancelled; one that already finished is unchanged.
    void cancel();
    bool isCancelled() const { return m_cancelled; }

signals:
    // Bytes of the answer's body so far; total is -1 when the answer did not
    // announce its length.
    void received(qint64 bytes, qint64 total);
    void cancelRequested();

private:
    bool m_cancelled = false;
};

// Where requests go out, and their owner: destroying it fails the requests
// still in flight ("abandoned") and aborts their exchanges. Main thread.
class ServiceNetwork : public QObject {
    Q_OBJECT
public:
    explicit ServiceNetwork(HttpTransport& transport = HttpTransport::shared(),
                            QObject* parent = nullptr);
    HttpTransport& transport() const { return m_transport; }

private:
    HttpTransport& m_transport;
};

// The final answer of a request, after redirects.
struct ServiceResponse {
    int status = 0;
    QByteArray body;    // when no body file was asked for
    QString bodySha256; // lowercase hex of the body file, hashed as it arrived
};

struct ServiceRequestOptions {
    QByteArray method = "GET";
    QUrl url;
    // Sent as "Authorization: Bearer <token>" to the first URL's origin only.
    std::optional<QString> token;
    QByteArray body;
    QByteArray contentType; // empty: no "Content-Type"
    // The body or the answer is a credential (a sign-in code, a new token):
    // held to the token's rules, and never redirected to another origin.
    bool confidential = false;
    // Measured from the last byte received, so a slow large body still finishes.
    std::chrono::milliseconds inactivityTimeout{60'000};
    int maxRedirects = 20;
    qint64 maxBodyBytes = qint64(16) << 20;
    // When set, a 2xx body goes to this new file (0600) instead of memory. The
    // file exists only after a complete 2xx answer: every failure, and every
    // other status, removes it.
    QString bodyFile;
    // Told of the body's progress, and may call the request off.
    QPointer<TransferControl> control;
};

// Every request the hub makes to the online service. Redirects are followed
// here: Qt's own redirect handling copies every header, the bearer token
// included, to any host. Each hop's origin is compared with the first
// request's and the token is dropped for good at the first hop elsewhere; only
// http and https hops are followed, 303 (and 301/302 after a POST) continue as
// a GET without the body, as browsers do. A request carrying the token, or a
// confidential one, is sent only to https or to plain http on this machine
// (127.0.0.1, localhost); otherwise it fails with `refused` before anything
// leaves the machine. An answer that ends short of its announced length fails.
// Start it on the main thread; the future
// finishes there, once and never synchronously, with the final answer or
// ServiceTransportError.
namespace ServiceRequest {

QFuture<ServiceResponse> send(ServiceNetwork& network, ServiceRequestOptions options);

// Whether a request to url may carry the session token or another credential.
bool mayCarryToken(const QUrl& url);
// Same scheme, host and port as written (an explicit default port and none differ).
bool sameOrigin(const QUrl& a, const QUrl& b);

} // namespace ServiceRequest

} // namespace ovrel
