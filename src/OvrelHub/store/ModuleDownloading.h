#pragma once

#include <QFuture>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace ovrel {

// A module archive on local disk, ready for the install pipeline, which
// removes it after use.
struct DownloadedArchive {
    QString path;
    // The archive's SHA-256 (lowercase hex) when it was hashed on arrival.
    std::optional<QString> sha256;
};

class TransferControl;

// Fetches a module archive. Called on the main thread; the future fails with
// InstallError::downloadFailed, CatalogError::unauthorized (the service wants
// a signed-in user) or a transport error, and then no file is left. The
// control, when given, hears of the bytes and may call the download off.
class ModuleDownloading {
public:
    virtual ~ModuleDownloading() = default;
    virtual QFuture<DownloadedArchive> download(const QUrl& url,
                                                TransferControl* control = nullptr) = 0;
};

} // namespace ovrel
