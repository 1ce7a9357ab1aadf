#pragma once

#include <QUrl>
#include <functional>

namespace ovrel {

// Delivers the URLs of the application's own scheme that the desktop opens
// with it (a browser following an "ovrel-lite:" link, xdg-open) to one
// handler, on the main thread.
class UrlSchemeHandler {
public:
    using Handler = std::function<void(const QUrl& url)>;

    virtual ~UrlSchemeHandler() = default;
    // Replaces the handler; URLs that arrive without one are dropped.
    virtual void setUrlHandler(Handler handler) = 0;
};

} // namespace ovrel
