#include "OvrelHub/shell/ServiceClient.h"

#include <QPointer>

namespace ovrel {

ServiceClient::ServiceClient(QObject* parent) : QObject(parent) {}

ServiceClient& ServiceClient::shared() {
    static auto* client = new ServiceClient();
    return *client;
}

void ServiceClient::send(const Request& request, QObject* context, Completion completion) {
    ServiceRequestOptions options;
    options.method = request.method;
    options.url = request.url;
    options.token = request.token;
    options.body = request.body;
    options.contentType = request.contentType;
    options.confidential = request.confidential;
    options.inactivityTimeout = std::chrono::milliseconds(kTimeoutMs);
    options.maxRedirects = kMaxRedirects;
    options.maxBodyBytes = kMaxAnswerBytes;
    const bool hasContext = context != nullptr;
    ServiceRequest::send(m_network, std::move(options))
        .then(this, [guard = QPointer<QObject>(context), hasContext,
                     completion = std::move(completion)](QFuture<ServiceResponse> answer) {
            if (!completion || (hasContext && !guard))
                return;
            ServiceReply reply;
            try {
                ServiceResponse response = answer.result();
                reply = {response.status, std::move(response.body)};
            } catch (...) {
                // No complete HTTP answer: a reply without a status.
            }
            completion(reply);
        });
}

} // namespace ovrel
