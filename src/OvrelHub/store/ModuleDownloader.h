#pragma once

#include "OvrelHub/shell/ServiceRequest.h"
#include "OvrelHub/store/ModuleDownloading.h"

#include <chrono>

class QNetworkAccessManager;

namespace ovrel {

// Downloads module archives from the service with the user's token, which
// never follows a redirect to another origin (ServiceRequest). The archive is
// hashed while it arrives and lands in a new file of the download directory;
// a failed download leaves no file. Main thread; borrows the network manager,
// which must outlive it.
class ModuleDownloader : public ModuleDownloading {
public:
    struct Options {
        std::chrono::milliseconds inactivityTimeout{60'000};
        qint64 maxBytes = qint64(1) << 30; // 1 GiB
    };

    ModuleDownloader(QNetworkAccessManager& network, BearerSource bearer, QString downloadDirectory,
                     Options options);
    ModuleDownloader(QNetworkAccessManager& network, BearerSource bearer, QString downloadDirectory)
        : ModuleDownloader(network, std::move(bearer), std::move(downloadDirectory), Options()) {}

    // A status other than 2xx fails with InstallError::downloadFailed;
    // transport failures with ServiceTransportError.
    QFuture<DownloadedArchive> download(const QUrl& url) override;
    void setProgress(Progress progress) override { m_progress = std::move(progress); }

private:
    QNetworkAccessManager& m_network;
    BearerSource m_bearer;
    QString m_directory;
    Options m_options;
    Progress m_progress;
};

} // namespace ovrel
