#pragma once

#include "DevServiceOptions.h"
#include "ModuleCatalogSource.h"

#include <QHostAddress>
#include <QTcpServer>

namespace ovrel::devservice {

// The storage host downloads are redirected to: serves GET /modules/<id>.zip
// without asking for a token and prints, per request, whether one arrived
// ("storage GET /modules/clock.zip token: none"). A plain socket server, so
// it can also trickle a body out slowly or cut the connection halfway.
class StorageServer : public QObject {
public:
    StorageServer(const DevServiceOptions& options, ModuleCatalogSource& catalog);

    // The port listened on, 0 when listening failed.
    quint16 listen(const QHostAddress& address, quint16 port);

    // Where the archive of `id` is served, relative to the server's base.
    static QString urlPath(const QString& id) {
        return QStringLiteral("modules/") + id + QStringLiteral(".zip");
    }

private:
    void serve(QTcpSocket* socket);

    const DevServiceOptions& m_options;
    ModuleCatalogSource& m_catalog;
    QTcpServer m_server;
};

} // namespace ovrel::devservice
