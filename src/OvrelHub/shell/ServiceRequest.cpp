#include "OvrelHub/shell/ServiceRequest.h"

#include "OvrelHub/shell/ServiceEndpoints.h"
#include "OvrelHub/store/ModuleDownloadRedirectPolicy.h"
#include "OvrelModuleKit/inbox/ModuleHostState.h"
#include "Platform/crypto/Crypto.h"

#include <QFile>
#include <QPointer>
#include <QPromise>
#include <QTimer>

namespace ovrel {

namespace {

using Kind = ServiceTransportError::Kind;

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The state of one request: the hops so far, the body received, the
// inactivity timer. Deletes itself once its future has finished.
class ServiceRequestJob : public QObject {
public:
    ServiceRequestJob(ServiceNetwork& network, ServiceRequestOptions options)
        : QObject(&network), m_transport(network.transport()), m_options(std::move(options)),
          m_method(m_options.method), m_requestBody(m_options.body),
          m_contentType(m_options.contentType), m_sendToken(m_options.token.has_value()) {
        m_inactivity.setSingleShot(true);
        m_inactivity.setInterval(m_options.inactivityTimeout);
        connect(&m_inactivity, &QTimer::timeout, this, [this] {
            fail(Kind::timedOut, QStringLiteral("nothing arrived for %1 ms")
                                     .arg(m_options.inactivityTimeout.count()));
        });
    }

    // Only when the network owner goes away first.
    ~ServiceRequestJob() override {
        if (m_done)
            return;
        m_exchange.reset();
        discardBodyFile();
        m_promise.setException(std::make_exception_ptr(
            ServiceTransportError(Kind::network, QStringLiteral("the request was abandoned"))));
        m_promise.finish();
    }

    QFuture<ServiceResponse> start() {
        QFuture<ServiceResponse> future = m_promise.future();
        m_promise.start();
        if ((m_sendToken || m_options.confidential) &&
            !ServiceRequest::mayCarryToken(m_options.url)) {
            // Answered from the event loop like any other failure.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    fail(Kind::refused,
                         QStringLiteral("a credential is not sent to ") +
                             m_options.url.toString(QUrl::RemoveUserInfo | QUrl::RemoveQuery));
                },
                Qt::QueuedConnection);
            return future;
        }
        if (m_options.control) {
            connect(m_options.control, &TransferControl::cancelRequested, this,
                    [this] { fail(Kind::cancelled, QStringLiteral("the request was cancelled")); });
            if (m_options.control->isCancelled()) {
                fail(Kind::cancelled, QStringLiteral("the request was cancelled"));
                return future;
            }
        }
        send(m_options.url);
        return future;
    }

private:
    void send(const QUrl& url) {
        m_currentUrl = url;
        m_collecting = false;
        HttpHop hop;
        hop.method = m_method;
        hop.url = url;
        hop.body = m_requestBody;
        // Bodies are taken as sent: a compressed answer would not match its
        // announced length or its digest.
        hop.headers.append({QByteArray("Accept-Encoding"), QByteArray("identity")});
        if (m_sendToken)
            hop.headers.append(ServiceEndpoints::authorization(*m_options.token));
        if (!m_contentType.isEmpty())
            hop.headers.append({QByteArray("Content-Type"), m_contentType});
        m_exchange.reset();
        m_inactivity.start();
        m_exchange = m_transport.start(hop, {[this](const HttpHead& head) { onHead(head); },
                                             [this](const QByteArray& bytes) { onData(bytes); },
                                             [this](const HttpEnd& end) { onFinished(end); }});
    }

    void onHead(const HttpHead& head) {
        m_inactivity.start();
        if (head.status == 0 || isRedirect(head.status) || m_collecting)
            return;
        m_collecting = true;
        m_total = head.contentLength;
        if (head.contentLength > m_options.maxBodyBytes) {
            fail(Kind::tooLarge, QStringLiteral("the answer announces %1 bytes, more than %2")
                                     .arg(head.contentLength)
                                     .arg(m_options.maxBodyBytes));
            return;
        }
        if (!m_options.bodyFile.isEmpty() && head.status >= 200 && head.status < 300) {
            m_file.setFileName(m_options.bodyFile);
            if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
                !m_file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
                fail(Kind::file, m_options.bodyFile + QStringLiteral(": ") + m_file.errorString());
        }
    }

    void onData(const QByteArray& bytes) {
        m_inactivity.start();
        if (!m_collecting || bytes.isEmpty())
            return;
        m_received += bytes.size();
        if (m_received > m_options.maxBodyBytes) {
            fail(Kind::tooLarge,
                 QStringLiteral("the answer is larger than %1 bytes").arg(m_options.maxBodyBytes));
            return;
        }
        if (!m_file.isOpen()) {
            m_body += bytes;
        } else {
            m_hash.update(bytes);
            if (m_file.write(bytes) != bytes.size()) {
                fail(Kind::file, m_options.bodyFile + QStringLiteral(": ") + m_file.errorString());
                return;
            }
        }
        if (m_options.control)
            emit m_options.control->received(m_received, m_total);
    }

    void onFinished(const HttpEnd& end) {
        if (m_done)
            return;
        m_inactivity.stop();
        if (end.failed) {
            fail(Kind::network, end.error);
            return;
        }
        if (isRedirect(end.head.status)) {
            followRedirect(end.head);
            return;
        }
        if (!m_collecting)
            onHead(end.head);
        if (m_done)
            return;
        if (end.head.contentLength >= 0 && end.head.contentLength != m_received) {
            fail(Kind::network, QStringLiteral("the answer ended after %1 of %2 bytes")
                                    .arg(m_received)
                                    .arg(end.head.contentLength));
            return;
        }
        ServiceResponse response;
        response.status = end.head.status;
        if (m_file.isOpen()) {
            if (!m_file.flush()) {
                fail(Kind::file, m_options.bodyFile + QStringLiteral(": ") + m_file.errorString());
                return;
            }
            m_file.close();
            response.bodySha256 = QString::fromLatin1(m_hash.finish().toHex());
        } else {
            response.body = std::move(m_body);
        }
        succeed(std::move(response));
    }

    void followRedirect(const HttpHead& head) {
        const QUrl next = m_currentUrl.resolved(head.location);
        const QString scheme = next.scheme().toLower();
        if (head.location.isEmpty() || !next.isValid() ||
            (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
            fail(Kind::badRedirect, QStringLiteral("redirect to an unusable address"));
            return;
        }
        if (++m_hops > m_options.maxRedirects) {
            fail(Kind::tooManyRedirects,
                 QStringLiteral("more than %1 redirects").arg(m_options.maxRedirects));
            return;
        }
        // Compared with where the chain started, not with the previous hop.
        if (!ServiceRequest::sameOrigin(m_options.url, next)) {
            if (m_options.confidential) {
                fail(Kind::refused, QStringLiteral("a credential is not redirected elsewhere"));
                return;
            }
            m_sendToken = false;
        }
        const int code = head.status;
        if (code == 303 || ((code == 301 || code == 302) && m_method == "POST")) {
            if (m_method != "HEAD")
                m_method = "GET";
            m_requestBody.clear();
            m_contentType.clear();
        }
        send(next);
    }

    void fail(Kind kind, const QString& description) {
        if (m_done)
            return;
        m_done = true;
        m_inactivity.stop();
        m_exchange.reset();
        discardBodyFile();
        m_promise.setException(std::make_exception_ptr(ServiceTransportError(kind, description)));
        m_promise.finish();
        deleteLater();
    }

    void succeed(ServiceResponse response) {
        m_done = true;
        m_promise.addResult(std::move(response));
        m_promise.finish();
        deleteLater();
    }

    void discardBodyFile() {
        if (m_file.isOpen()) {
            m_file.close();
            m_file.remove();
        }
    }

    HttpTransport& m_transport;
    ServiceRequestOptions m_options;
    QPromise<ServiceResponse> m_promise;
    std::unique_ptr<HttpExchange> m_exchange;
    QByteArray m_method;
    QByteArray m_requestBody;
    QByteArray m_contentType;
    QUrl m_currentUrl;
    bool m_sendToken;
    int m_hops = 0;
    bool m_done = false;
    bool m_collecting = false; // this hop's body belongs to the answer
    qint64 m_received = 0;
    qint64 m_total = -1;
    QByteArray m_body;
    QFile m_file;
    Crypto::Sha256 m_hash;
    QTimer m_inactivity;
};

} // namespace

void TransferControl::cancel() {
    if (m_cancelled)
        return;
    m_cancelled = true;
    emit cancelRequested();
}

ServiceNetwork::ServiceNetwork(HttpTransport& transport, QObject* parent)
    : QObject(parent), m_transport(transport) {}

QFuture<ServiceResponse> ServiceRequest::send(ServiceNetwork& network,
                                              ServiceRequestOptions options) {
    auto* job = new ServiceRequestJob(network, std::move(options));
    return job->start();
}

bool ServiceRequest::mayCarryToken(const QUrl& url) {
    return ModuleHostState::isAcceptableAPIBase(url);
}

bool ServiceRequest::sameOrigin(const QUrl& a, const QUrl& b) {
    return !ModuleDownloadRedirectPolicy::shouldStripAuthorization(a, b);
}

} // namespace ovrel
