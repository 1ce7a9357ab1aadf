#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

namespace ovrel::devservice {

// What the command line asks of the local service. Route families add their
// own options here and read them from the one parsed value.
struct DevServiceOptions {
    quint16 apiPort = 0;     // 0: any free port
    quint16 storagePort = 0; // 0: any free port
    QString catalogDir;      // signed module zips, or a verbatim catalog.json
    QString dataFile;        // accounts and synced data survive a restart when set
    std::chrono::seconds tokenLifetime = std::chrono::hours(24); // of each bearer token

    // The options, or an error text for the usage message.
    static std::optional<DevServiceOptions> parse(const QStringList& arguments, QString* error);
};

} // namespace ovrel::devservice
