#pragma once

#include "OvrelHub/shell/ServiceRequest.h"
#include "OvrelHub/store/ModuleDownloading.h"

#include <chrono>

namespace ovrel {

// Downloads module archives from the service with the user's token, which
// never follows a redirect to another origin (ServiceRequest). The archive is
// hashed while it arrives and lands in a new file of the download directory;
// a failed download leaves no file. Main thread; borrows the network,
// which must outlive it.
class ModuleDownloader : public ModuleDownloading {
public:
    struct Options {
        std::chrono::milliseconds inactivityTimeout{60'000};
        qint64 maxBytes = qint64(1) << 30; // 1 GiB
    };

    ModuleDownloader(ServiceNetwork& network, BearerSource bearer, QString downloadDirectory,
                     Options options);
    ModuleDownloader(ServiceNetwork& network, BearerSource bearer, QString downloadDirectory)
        : ModuleDownloader(network, std::move(bearer), std::move(downloadDirectory), Options()) {}

    // 401 fails with CatalogError::unauthorized, another status other than
    // 2xx with InstallError::downloadFailed; transport failures (a cancel
    // included) with ServiceTransportError.
    QFuture<DownloadedArchive> download(const QUrl& url,
                                        TransferControl* control = nullptr) override;

private:
    ServiceNetwork& m_network;
    BearerSource m_bearer;
    QString m_directory;
    Options m_options;
};

} // namespace ovrel
