#pragma once

#include "VersionFeedOptions.h"

#include <QHttpServer>
#include <functional>

namespace ovrel::devservice {

// The version feed ("/api/version") and the pages the hub opens in the
// browser: the user guide with a page per permission kind explaining how to
// grant it on Linux, the privacy page and the download page. Pages exist
// with and without a language prefix ("/guide", "/en/guide").
namespace VersionAndPageRoutes {

// apiBase gives the service's own address once it listens.
void install(QHttpServer& api, const VersionFeedOptions& feed, std::function<QString()> apiBase);

} // namespace VersionAndPageRoutes

} // namespace ovrel::devservice
