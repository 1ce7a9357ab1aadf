#include "StorageServer.h"

#include "ArchiveLog.h"

#include <QFile>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace ovrel::devservice {

namespace {

constexpr qint64 kPiece = 256 * 1024;
constexpr qint64 kSlowPiece = 4 * 1024;

// Writes one file to a socket in pieces, as the socket drains (or on a
// timer when trickling), then closes the connection.
class BodySender : public QObject {
public:
    BodySender(QTcpSocket* socket, QByteArray body, const DevServiceOptions& options)
        : QObject(socket), m_socket(socket), m_body(std::move(body)),
          m_limit(options.killMidBody ? m_body.size() / 2 : m_body.size()),
          m_slowMs(options.slowBodyMs), m_kill(options.killMidBody) {
        if (m_slowMs > 0) {
            connect(&m_timer, &QTimer::timeout, this, [this] { writeSome(kSlowPiece); });
            m_timer.start(m_slowMs);
        } else {
            connect(socket, &QTcpSocket::bytesWritten, this, [this] {
                if (m_socket->bytesToWrite() < kPiece)
                    writeSome(kPiece);
            });
            writeSome(kPiece);
        }
    }

private:
    void writeSome(qint64 size) {
        const qint64 count = std::min(size, m_limit - m_sent);
        if (count > 0) {
            m_socket->write(m_body.constData() + m_sent, count);
            m_sent += count;
        }
        if (m_sent < m_limit)
            return;
        m_timer.stop();
        disconnect(m_socket, nullptr, this, nullptr);
        if (m_kill) {
            m_socket->flush();
            m_socket->abort();
        } else {
            m_socket->disconnectFromHost();
        }
    }

    QTcpSocket* m_socket;
    QByteArray m_body;
    qint64 m_limit;
    qint64 m_sent = 0;
    int m_slowMs;
    bool m_kill;
    QTimer m_timer;
};

// The body in chunks of at most 64 KiB, then the last, empty chunk.
QByteArray chunked(const QByteArray& body) {
    constexpr qsizetype kChunk = 64 * 1024;
    QByteArray out;
    for (qsizetype at = 0; at < body.size(); at += kChunk) {
        const QByteArray piece = body.mid(at, kChunk);
        out += QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
    }
    return out + "0\r\n\r\n";
}

QByteArray statusLine(int status, const char* reason) {
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
}

} // namespace

StorageServer::StorageServer(const DevServiceOptions& options, ModuleCatalogSource& catalog)
    : m_options(options), m_catalog(catalog) {
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        }
    });
}

quint16 StorageServer::listen(const QHostAddress& address, quint16 port) {
    return m_server.listen(address, port) ? m_server.serverPort() : 0;
}

void StorageServer::serve(QTcpSocket* socket) {
    if (socket->property("served").toBool())
        return;
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    const qsizetype end = request.indexOf("\r\n\r\n");
    if (end < 0) {
        if (request.size() > 64 * 1024)
            socket->abort();
        else
            socket->setProperty("request", request);
        return;
    }
    socket->setProperty("served", true);
    const QList<QByteArray> lines = request.left(end).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    bool token = false;
    for (const QByteArray& line : lines.mid(1)) {
        if (line.trimmed().toLower().startsWith("authorization:"))
            token = true;
    }
    const QByteArray method = requestLine.value(0);
    const QByteArray path = requestLine.value(1);
    ArchiveLog::served(QStringLiteral("storage"), QString::fromUtf8(method + ' ' + path), token);

    QString file;
    if (method == "GET" && path.startsWith("/modules/") && path.endsWith(".zip"))
        file = m_catalog.archivePath(QString::fromUtf8(path.mid(9, path.size() - 13)));
    QFile archive(file);
    if (file.isEmpty() || !archive.open(QIODevice::ReadOnly)) {
        socket->write(statusLine(404, "Not Found") +
                      "Content-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    QByteArray body = archive.readAll();
    QByteArray length;
    if (m_options.chunkedBodies) {
        length = "Transfer-Encoding: chunked";
        body = chunked(body);
    } else {
        length = "Content-Length: " +
                 QByteArray::number(m_options.declaredLength >= 0 ? m_options.declaredLength
                                                                  : body.size());
    }
    socket->write(statusLine(200, "OK") + "Content-Type: application/zip\r\n" + length +
                  "\r\nConnection: close\r\n\r\n");
    new BodySender(socket, std::move(body), m_options);
}

} // namespace ovrel::devservice
