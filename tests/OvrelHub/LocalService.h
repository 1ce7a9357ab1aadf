#pragma once

#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace ovrel::test {

// The real local service (tools/ovrel-devservice) on free ports, for as long
// as the object lives. Start it, then read its API base.
class LocalService {
public:
    explicit LocalService(const QStringList& arguments = {}) {
        m_process.setProgram(QStringLiteral(OVREL_DEVSERVICE_TOOL));
        m_process.setArguments(arguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        // "api http://127.0.0.1:N storage http://127.0.0.1:M" once both listen.
        while (m_process.waitForReadyRead(10000)) {
            if (!m_process.canReadLine())
                continue;
            const QStringList words = QString::fromUtf8(m_process.readLine()).split(u' ');
            if (words.size() >= 4 && words[0] == QLatin1String("api"))
                m_apiBase = QUrl(words[1].trimmed() + u'/');
            break;
        }
    }
    ~LocalService() {
        m_process.kill();
        m_process.waitForFinished();
    }

    bool isRunning() const { return m_apiBase.isValid(); }
    // "http://127.0.0.1:N/".
    QUrl apiBase() const { return m_apiBase; }
    QUrl url(const QString& path) const { return m_apiBase.resolved(QUrl(path)); }

private:
    QProcess m_process;
    QUrl m_apiBase;
};

} // namespace ovrel::test
