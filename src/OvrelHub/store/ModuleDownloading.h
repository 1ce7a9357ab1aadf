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

// Fetches a module archive. Called on the main thread; the future fails with
// InstallError::downloadFailed or a transport error, and then no file is left.
class ModuleDownloading {
public:
    // Bytes received so far and the announced size (-1: none), on the main thread.
    using Progress = std::function<void(qint64 received, qint64 total)>;

    virtual ~ModuleDownloading() = default;
    virtual QFuture<DownloadedArchive> download(const QUrl& url) = 0;
    // Told about every download from now on; none: nobody is.
    virtual void setProgress(Progress progress) { (void)progress; }
};

} // namespace ovrel
