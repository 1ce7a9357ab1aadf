#pragma once

#include "DevAccounts.h"
#include "DevServiceOptions.h"

#include <QHttpServer>
#include <QUrl>

namespace ovrel::devservice {

// The local stand-in for the online service: an API server and a storage
// server (downloads redirect there, so token handling across origins is
// exercised), both on 127.0.0.1 only. Route families (catalog and downloads,
// sign-in and account, sync, version feed and pages) each live in their own
// file and are installed by installRoutes(). Main thread only.
class DevService {
public:
    explicit DevService(DevServiceOptions options);

    // Listens on both ports; false with a reason when a port cannot be had.
    bool start(QString* error);

    QUrl apiBase() const;
    QUrl storageBase() const;
    const DevServiceOptions& options() const { return options_; }

private:
    void installRoutes();

    DevServiceOptions options_;
    DevAccounts accounts_;
    QHttpServer api_;
    QHttpServer storage_;
    quint16 apiPort_ = 0;
    quint16 storagePort_ = 0;
};

} // namespace ovrel::devservice
