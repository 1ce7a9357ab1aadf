#include "OvrelHub/store/ModuleDownloader.h"

#include "OvrelHub/store/CatalogError.h"
#include "OvrelHub/store/InstallError.h"
#include "Platform/files/AtomicFile.h"

#include <QFile>
#include <QUuid>

namespace ovrel {

ModuleDownloader::ModuleDownloader(ServiceNetwork& network, BearerSource bearer,
                                   QString downloadDirectory, Options options)
    : m_network(network), m_bearer(std::move(bearer)), m_directory(std::move(downloadDirectory)),
      m_options(options) {}

QFuture<DownloadedArchive> ModuleDownloader::download(const QUrl& url, TransferControl* control) {
    try {
        AtomicFile::makeDirectories(m_directory, 0700);
    } catch (const FileError&) {
        // Creating the file inside reports it.
    }
    ServiceRequestOptions request;
    request.url = url;
    request.token = m_bearer ? m_bearer() : std::nullopt;
    request.inactivityTimeout = m_options.inactivityTimeout;
    request.maxBodyBytes = m_options.maxBytes;
    request.bodyFile = m_directory + QLatin1Char('/') +
                       QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".zip");
    request.control = control;
    const QString file = request.bodyFile;
    // Taken before the file exists; a recovery that starts meanwhile leaves it.
    std::shared_ptr<const StagingLock> inUse;
    try {
        inUse = std::make_shared<const StagingLock>(StagingLock::acquire(file));
    } catch (const FileError&) {
        return QtFuture::makeExceptionalFuture<DownloadedArchive>(
            std::make_exception_ptr(InstallError::downloadFailed()));
    }
    return ServiceRequest::send(m_network, std::move(request))
        .then([file, inUse](const ServiceResponse& response) {
            if (response.status < 200 || response.status > 299) {
                QFile::remove(file);
                // Told apart so the user learns that signing in helps.
                if (response.status == 401)
                    throw CatalogError::unauthorized();
                throw InstallError::downloadFailed();
            }
            return DownloadedArchive{file, response.bodySha256, inUse};
        });
}

} // namespace ovrel
