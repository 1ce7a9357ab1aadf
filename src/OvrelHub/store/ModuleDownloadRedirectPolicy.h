#pragma once

#include <QUrl>

namespace ovrel {

// When a redirected request must lose its "Authorization" header.
namespace ModuleDownloadRedirectPolicy {

// True unless both URLs have the same origin: hosts equal ignoring case,
// schemes equal ignoring case, and ports equal, an explicit port counting as
// different from none (even the scheme's default). A missing host strips.
bool shouldStripAuthorization(const QUrl& from, const QUrl& to);

} // namespace ModuleDownloadRedirectPolicy

} // namespace ovrel
