// The network library: the process's HTTP transport over Qt's network
// module, loaded by the program on its first exchange (HttpTransport::shared).
// It uses nothing of the program but the interface's header.
#include "Platform/network/HttpTransport.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QSslSocket>

namespace ovrel {

namespace {

// Errors Qt reports for an answer that arrived complete but with an HTTP
// error status (4xx, 5xx); every other error means the answer is incomplete.
bool isHttpStatusError(QNetworkReply::NetworkError error) {
    const int code = static_cast<int>(error);
    return (code >= QNetworkReply::ContentAccessDenied &&
            code < QNetworkReply::ProtocolUnknownError) ||
           (code >= QNetworkReply::InternalServerError &&
            code <= QNetworkReply::UnknownServerError);
}

HttpHead headOf(const QNetworkReply& reply) {
    HttpHead head;
    head.status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    head.contentLength = length.isValid() ? length.toLongLong() : -1;
    head.location = reply.attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    return head;
}

class QtHttpExchange : public HttpExchange {
public:
    QtHttpExchange(QNetworkReply* reply, HttpEvents events)
        : m_reply(reply), m_events(std::move(events)) {
        m_connections[0] = QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [this] {
            if (m_events.head)
                m_events.head(headOf(*m_reply));
        });
        m_connections[1] = QObject::connect(reply, &QNetworkReply::readyRead, reply, [this] {
            const QByteArray bytes = m_reply->readAll();
            if (!bytes.isEmpty() && m_events.data)
                m_events.data(bytes);
        });
        m_connections[2] =
            QObject::connect(reply, &QNetworkReply::finished, reply, [this] { onFinished(); });
    }

    ~QtHttpExchange() override {
        if (!m_reply)
            return;
        for (const QMetaObject::Connection& connection : m_connections)
            QObject::disconnect(connection);
        if (!m_finished)
            m_reply->abort();
        m_reply->deleteLater();
    }

private:
    void onFinished() {
        m_finished = true;
        HttpEnd end;
        end.head = headOf(*m_reply);
        const QNetworkReply::NetworkError error = m_reply->error();
        end.failed =
            end.head.status == 0 || (error != QNetworkReply::NoError && !isHttpStatusError(error));
        if (end.failed)
            end.error = m_reply->errorString();
        const QByteArray rest = m_reply->readAll();
        if (!rest.isEmpty() && m_events.data)
            m_events.data(rest);
        // The receiver may destroy this exchange from here on.
        const auto finished = m_events.finished;
        if (finished)
            finished(end);
    }

    QPointer<QNetworkReply> m_reply;
    HttpEvents m_events;
    QMetaObject::Connection m_connections[3];
    bool m_finished = false;
};

class QtHttpTransport : public HttpTransport {
public:
    std::unique_ptr<HttpExchange> start(const HttpHop& hop, HttpEvents events) override {
        // Made on first use, on the thread exchanges start from; it lives as
        // long as the process.
        if (!m_network)
            m_network = new QNetworkAccessManager;
        QNetworkRequest request(hop.url);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::AlwaysNetwork);
        for (const auto& [name, value] : hop.headers)
            request.setRawHeader(name, value);
        QNetworkReply* reply = m_network->sendCustomRequest(request, hop.method, hop.body);
        return std::make_unique<QtHttpExchange>(reply, std::move(events));
    }

    void prepareEncryption() override { (void)QSslSocket::supportsSsl(); }

private:
    QNetworkAccessManager* m_network = nullptr;
};

} // namespace

} // namespace ovrel

extern "C" Q_DECL_EXPORT ovrel::HttpTransport* ovrel_http_transport() {
    static ovrel::HttpTransport* const transport = new ovrel::QtHttpTransport;
    return transport;
}
