#include "OvrelHub/shell/ServiceClient.h"

#include "OvrelHub/shell/ServiceEndpoints.h"
#include "OvrelModuleKit/inbox/ModuleHostState.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

namespace ovrel {

struct ServiceClient::Transfer {
    Request request;
    QUrl origin; // of the first request: the only one that sees the token
    QPointer<QObject> context;
    bool hasContext = false;
    Completion completion;
    int redirects = 0;
};

ServiceClient::ServiceClient(QObject* parent) : QObject(parent) {}

ServiceClient& ServiceClient::shared() {
    static auto* client = new ServiceClient();
    return *client;
}

bool ServiceClient::mayCarryToken(const QUrl& url) {
    return ModuleHostState::isAcceptableAPIBase(url);
}

bool ServiceClient::sameOrigin(const QUrl& a, const QUrl& b) {
    const auto defaultPort = [](const QUrl& url) {
        return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
    };
    return a.scheme() == b.scheme() && a.host() == b.host() && defaultPort(a) == defaultPort(b);
}

void ServiceClient::send(const Request& request, QObject* context, Completion completion) {
    auto transfer = std::make_shared<Transfer>();
    transfer->request = request;
    transfer->origin = request.url;
    transfer->context = context;
    transfer->hasContext = context != nullptr;
    transfer->completion = std::move(completion);
    start(std::move(transfer));
}

namespace {
void deliver(const std::function<void(const ServiceReply&)>& completion, bool alive,
             const ServiceReply& reply) {
    if (completion && alive)
        completion(reply);
}
} // namespace

void ServiceClient::start(std::shared_ptr<Transfer> transfer) {
    const Request& request = transfer->request;
    const bool carriesToken =
        request.token.has_value() && sameOrigin(request.url, transfer->origin);
    const bool sameAsFirst = sameOrigin(request.url, transfer->origin);
    if ((carriesToken || request.confidential) && (!mayCarryToken(request.url) || !sameAsFirst)) {
        // Refused before anything leaves the machine; answered like a failed transfer.
        QMetaObject::invokeMethod(
            this,
            [transfer] {
                deliver(transfer->completion, !transfer->hasContext || transfer->context,
                        ServiceReply{});
            },
            Qt::QueuedConnection);
        return;
    }
    QNetworkRequest networkRequest(request.url);
    networkRequest.setTransferTimeout(kTimeoutMs);
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                QNetworkRequest::ManualRedirectPolicy);
    if (carriesToken)
        ServiceEndpoints::authorize(networkRequest, *request.token);
    if (!request.contentType.isEmpty())
        networkRequest.setHeader(QNetworkRequest::ContentTypeHeader, request.contentType);
    QNetworkReply* reply =
        m_network.sendCustomRequest(networkRequest, request.method, request.body);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxAnswerBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this,
            [this, transfer, reply] { finished(transfer, reply); });
}

void ServiceClient::finished(std::shared_ptr<Transfer> transfer, QNetworkReply* reply) {
    reply->deleteLater();
    const QVariant statusAttribute = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool alive = !transfer->hasContext || transfer->context;
    if (!statusAttribute.isValid() || !alive) {
        deliver(transfer->completion, alive, ServiceReply{});
        return;
    }
    const int status = statusAttribute.toInt();
    const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    const bool redirect =
        status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    if (redirect && target.isValid()) {
        const QUrl next = reply->url().resolved(target);
        const bool webScheme =
            next.scheme() == QLatin1String("https") || next.scheme() == QLatin1String("http");
        if (!webScheme || ++transfer->redirects > kMaxRedirects) {
            deliver(transfer->completion, alive, ServiceReply{});
            return;
        }
        Request& request = transfer->request;
        if (status == 303 || ((status == 301 || status == 302) && request.method == "POST")) {
            request.method = "GET";
            request.body.clear();
            request.contentType.clear();
        }
        request.url = next;
        start(transfer);
        return;
    }
    if (reply->error() == QNetworkReply::OperationCanceledError ||
        reply->error() == QNetworkReply::TimeoutError) {
        deliver(transfer->completion, alive, ServiceReply{});
        return;
    }
    deliver(transfer->completion, alive, ServiceReply{status, reply->readAll()});
}

} // namespace ovrel
