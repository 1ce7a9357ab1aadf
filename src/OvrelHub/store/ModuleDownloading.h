#pragma once

#include "OvrelHub/store/StagingLock.h"

#include <QFuture>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

namespace ovrel {

// A module archive on local disk, ready for the install pipeline, which
// removes it after use.
struct DownloadedArchive {
    QString path;
    // The archive's SHA-256 (lowercase hex) when it was hashed on arrival.
    std::optional<QString> sha256;
    // Keeps other processes' recovery off the file until the last copy of
    // this value is gone (none: the file is in no staging area).
    std::shared_ptr<const StagingLock> inUse;
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
