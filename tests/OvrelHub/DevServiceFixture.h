#pragma once

#include <QProcess>
#include <QStringList>
#include <QUrl>
#include <gtest/gtest.h>

namespace ovrel::test {

// The real local service on free ports, started for one test and stopped at
// its end. The service prints one line once both ports accept connections.
class DevServiceProcess {
public:
    explicit DevServiceProcess(const QStringList& arguments = {}) {
        m_process.setProgram(QStringLiteral(OVREL_DEVSERVICE_TOOL));
        m_process.setArguments(arguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        if (!m_process.waitForStarted())
            return;
        while (!m_process.canReadLine() && m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(30000);
        const QStringList words = QString::fromUtf8(m_process.readLine()).split(QLatin1Char(' '));
        if (words.size() == 4) {
            m_api = QUrl(words.at(1));
            m_storage = QUrl(words.at(3).trimmed());
        }
    }
    ~DevServiceProcess() { stop(); }
    DevServiceProcess(const DevServiceProcess&) = delete;
    DevServiceProcess& operator=(const DevServiceProcess&) = delete;

    bool isReady() const { return m_api.isValid() && !m_api.isEmpty(); }
    // "http://127.0.0.1:<port>", without a trailing slash: paths are appended as text.
    QString apiBase() const { return m_api.toString(QUrl::StripTrailingSlash); }

    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

private:
    QProcess m_process;
    QUrl m_api;
    QUrl m_storage;
};

} // namespace ovrel::test
