#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <utility>

namespace ovrel {

// One HTTP exchange without redirects followed: what goes out.
struct HttpHop {
    QByteArray method = "GET";
    QUrl url;
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;
};

// What the answer's head says.
struct HttpHead {
    int status = 0;            // 0: no HTTP answer yet
    qint64 contentLength = -1; // -1: not announced
    QUrl location;             // a redirect's target as written, relative or not
};

// How an exchange ended: with the complete answer (`failed` false, whatever
// its status) or without one.
struct HttpEnd {
    bool failed = false;
    QString error; // when failed: the transport's message
    HttpHead head;
};

// Events of one exchange, delivered on the thread that started it.
struct HttpEvents {
    std::function<void(const HttpHead&)> head;    // the head arrived (may repeat)
    std::function<void(const QByteArray&)> data;  // the next bytes of the body
    std::function<void(const HttpEnd&)> finished; // once, last
};

// An exchange in flight. Destroying it aborts the exchange; no event comes
// after that.
class HttpExchange {
public:
    virtual ~HttpExchange() = default;
};

// The network stack: plain HTTP(S) exchanges, one hop each. The process's
// transport lives in a library of its own, loaded by the first exchange, so
// a start of the program that sends nothing never maps the network, TLS and
// Kerberos libraries. Starts and events on the main thread;
// prepareEncryption() on any.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;

    virtual std::unique_ptr<HttpExchange> start(const HttpHop& hop, HttpEvents events) = 0;

    // Loads the TLS backend (and the system's certificates) now, on the
    // calling thread: the first https exchange would otherwise do it on the
    // main thread.
    virtual void prepareEncryption() = 0;

    // The process's transport. If the network library cannot be loaded every
    // exchange ends at once as failed, with the loader's message.
    static HttpTransport& shared();
};

// The entry point of the network library, resolved by name.
using HttpTransportFactory = HttpTransport* (*)();
inline constexpr const char* kHttpTransportFactory = "ovrel_http_transport";

} // namespace ovrel
