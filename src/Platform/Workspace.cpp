#include "Platform/Workspace.h"

#include "Platform/DesktopEntry.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>

namespace ovrel {

DesktopWorkspace& DesktopWorkspace::shared() {
    static DesktopWorkspace workspace;
    return workspace;
}

bool DesktopWorkspace::openURL(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void DesktopWorkspace::revealInFileViewer(const QString& path) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return;
    // No file manager on the bus: at least open the folder that holds it.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

std::optional<QString> DesktopWorkspace::applicationPath(const QString& bundleIdentifier) {
    const auto entry = DesktopEntry::find(bundleIdentifier);
    if (!entry)
        return std::nullopt;
    return DesktopEntry::executable(*entry);
}

} // namespace ovrel
