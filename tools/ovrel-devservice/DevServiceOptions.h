#pragma once

#include "VersionFeedOptions.h"

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

    // Module catalog and downloads, and faults for the tests.
    QString requiredToken;            // set: module endpoints answer 401 without this bearer token
    bool catalogNeedsSignIn = false;  // module endpoints answer 401 without a signed-in user's token
    int failStatus = 0;               // set: module endpoints answer this status
    int slowBodyMs = 0;               // set: archives trickle out, a piece every this many ms
    bool killMidBody = false;         // archives stop halfway and the connection is cut
    bool sameOriginDownloads = false; // downloads redirect to the API server itself
    int downloadRedirects = 1;        // redirects in all before the archive is served
    qint64 declaredLength = -1;       // set: archives announce this length (and end where they end)
    bool chunkedBodies = false;       // archives are sent chunked, without a length
    qint64 catalogBytes = 0;          // set: the catalog answer is padded with spaces to this size

    VersionFeedOptions versionFeed;

    // The options, or an error text for the usage message.
    static std::optional<DevServiceOptions> parse(const QStringList& arguments, QString* error);
};

} // namespace ovrel::devservice
