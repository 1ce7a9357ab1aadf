#include "OvrelHub/store/ModuleCatalogClient.h"

#include "OvrelHub/shell/ServiceEndpoints.h"
#include "OvrelHub/store/CatalogDecoder.h"
#include "OvrelHub/store/CatalogError.h"

namespace ovrel {

ModuleCatalogClient::ModuleCatalogClient(QUrl baseURL, BearerSource bearer,
                                         ServiceNetwork& network)
    : m_baseURL(std::move(baseURL)), m_bearer(std::move(bearer)), m_network(network) {}

QString ModuleCatalogClient::hostVersion() {
#ifdef OVREL_HUB_VERSION
    const QString version = QStringLiteral(OVREL_HUB_VERSION);
    if (!version.isEmpty())
        return version;
#endif
    return QStringLiteral("0.0.0");
}

QFuture<QList<CatalogEntry>> ModuleCatalogClient::fetch(const QString& hostVersion) const {
    ServiceRequestOptions request;
    request.url = ServiceEndpoints::catalog(m_baseURL, hostVersion);
    request.token = m_bearer ? m_bearer() : std::nullopt;
    request.maxBodyBytes = kMaxCatalogBytes;
    return ServiceRequest::send(m_network, std::move(request))
        .onFailed([](const ServiceTransportError& error) -> ServiceResponse {
            if (error.kind() == ServiceTransportError::Kind::tooLarge)
                throw CatalogError::badResponse();
            throw error;
        })
        .then([](const ServiceResponse& response) {
            if (response.status == 401)
                throw CatalogError::unauthorized();
            if (response.status < 200 || response.status > 299)
                throw CatalogError::serverError(response.status);
            std::optional<QList<CatalogEntry>> entries = CatalogDecoder::decode(response.body);
            if (!entries)
                throw CatalogError::badResponse();
            return std::move(*entries);
        });
}

QUrl ModuleCatalogClient::downloadURL(const QString& id, const QString& hostVersion) const {
    return ServiceEndpoints::moduleDownload(m_baseURL, id, hostVersion);
}

} // namespace ovrel
