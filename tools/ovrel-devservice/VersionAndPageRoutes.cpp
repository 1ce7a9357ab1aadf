#include "VersionAndPageRoutes.h"

#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

namespace ovrel::devservice {

namespace {

struct PermissionPage {
    const char* kind;
    const char* title;
    const char* body;
};

// What each permission a module may declare means on a Linux desktop.
constexpr PermissionPage kPermissionPages[] = {
    {"screenRecording", "Screen Recording",
     "<p>Linux desktops have no lasting screen-recording permission. In a Wayland session a "
     "module captures the screen through the desktop's screen-cast portal "
     "(xdg-desktop-portal): the desktop asks you each time and lets you choose the screen or "
     "window to share. In an X11 session every program of yours can read the screen, so "
     "nothing needs to be granted.</p>"},
    {"accessibility", "Accessibility",
     "<p>Reading and driving other applications' windows goes through the accessibility bus "
     "(AT-SPI). It is not locked per application: make sure it runs, which GNOME and KDE do "
     "with the session. If a module still cannot see other windows, turn on assistive "
     "technologies in your desktop's accessibility settings and log in again.</p>"},
    {"inputMonitoring", "Input Monitoring",
     "<p>Watching the keyboard and mouse directly means reading the devices "
     "<code>/dev/input/event*</code>, which belong to the group <code>input</code>. Add your "
     "user to it with <code>sudo usermod -aG input $USER</code>, then log out and in again. "
     "Every program you run can then read all your typing, passwords included: only do this "
     "if you trust the modules you install.</p>"},
    {"fullDiskAccess", "Full Disk Access",
     "<p>Linux has no full-disk-access switch: every program you run may read the files your "
     "user may read. A module that needs other files needs them shared through file "
     "permissions (<code>chmod</code>, <code>setfacl</code>). Sandboxed (Flatpak) "
     "applications get folders through Flatseal or your desktop's application permissions "
     "settings.</p>"},
};

QHttpServerResponse html(const QString& title, const QString& body) {
    const QString page = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                                        "<title>%1</title></head><body><h1>%1</h1>%2</body>"
                                        "</html>")
                             .arg(title.toHtmlEscaped(), body);
    return QHttpServerResponse("text/html; charset=utf-8", page.toUtf8());
}

QHttpServerResponse guide() {
    QString list;
    for (const PermissionPage& page : kPermissionPages)
        list += QStringLiteral("<li><a href=\"guide/permissions/%1\">%2</a></li>")
                    .arg(QString::fromLatin1(page.kind), QString::fromLatin1(page.title));
    return html(QStringLiteral("Ovrel Lite user guide"),
                QStringLiteral("<p>Ovrel Lite lives in the tray. Open it to start modules, "
                               "and choose Settings… to install and configure them.</p>"
                               "<h2>Permissions on Linux</h2><ul>") +
                    list + QStringLiteral("</ul>"));
}

QHttpServerResponse permissionPage(const QString& kind) {
    for (const PermissionPage& page : kPermissionPages) {
        if (kind == QLatin1String(page.kind))
            return html(QString::fromLatin1(page.title), QString::fromUtf8(page.body));
    }
    return QHttpServerResponse(QHttpServerResponse::StatusCode::NotFound);
}

QHttpServerResponse privacy() {
    return html(QStringLiteral("Privacy"),
                QStringLiteral("<p>This local service keeps what it receives in memory (or in "
                               "the file given with --data) and sends nothing anywhere.</p>"));
}

QJsonObject feedObject(const VersionFeedOptions& feed, const QString& apiBase) {
    QJsonObject object{
        {QStringLiteral("version"), feed.newestVersion},
        {QStringLiteral("dmgUrl"),
         apiBase + QStringLiteral("download/Ovrel-") + feed.newestVersion + QStringLiteral(".dmg")},
    };
    if (!feed.notes.isEmpty())
        object.insert(QStringLiteral("notes"), feed.notes);
    if (!feed.notesByLang.isEmpty()) {
        QJsonObject byLang;
        for (auto it = feed.notesByLang.begin(); it != feed.notesByLang.end(); ++it)
            byLang.insert(it.key(), it.value());
        object.insert(QStringLiteral("notesByLang"), byLang);
    }
    if (!feed.publishedAt.isEmpty())
        object.insert(QStringLiteral("publishedAt"), feed.publishedAt);
    return object;
}

} // namespace

void VersionAndPageRoutes::install(QHttpServer& api, const VersionFeedOptions& feed,
                                   std::function<QString()> apiBase) {
    api.route(QStringLiteral("/api/version"), [feed, apiBase](const QHttpServerRequest& request) {
        const QUrlQuery query(request.url());
        if (!query.hasQueryItem(QStringLiteral("product")) ||
            !query.hasQueryItem(QStringLiteral("platform")))
            return QHttpServerResponse(QHttpServerResponse::StatusCode::BadRequest);
        return QHttpServerResponse(feedObject(feed, apiBase()));
    });
    api.route(QStringLiteral("/guide"), [] { return guide(); });
    api.route(QStringLiteral("/<arg>/guide"), [](const QString&) { return guide(); });
    api.route(QStringLiteral("/guide/permissions/<arg>"),
              [](const QString& kind) { return permissionPage(kind); });
    api.route(QStringLiteral("/<arg>/guide/permissions/<arg>"),
              [](const QString&, const QString& kind) { return permissionPage(kind); });
    api.route(QStringLiteral("/privacy"), [] { return privacy(); });
    api.route(QStringLiteral("/<arg>/privacy"), [](const QString&) { return privacy(); });
    api.route(QStringLiteral("/download"), [feed](const QHttpServerRequest& request) {
        const QUrlQuery query(request.url());
        const QString product = query.queryItemValue(QStringLiteral("product"));
        return html(
            QStringLiteral("Download Ovrel"),
            QStringLiteral("<p>Ovrel %1 (%2) — this local service has no installer to "
                           "offer; build the hub from source.</p>")
                .arg(feed.newestVersion.toHtmlEscaped(),
                     (product.isEmpty() ? QStringLiteral("lite") : product).toHtmlEscaped()));
    });
}

} // namespace ovrel::devservice
