#include "Platform/network/LoadedHttpTransport.h"

#include "Platform/library/SharedLibrary.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#ifndef OVREL_NETWORK_LIBRARY
#error "the build names the network library's file"
#endif

namespace ovrel {

namespace {

// Where the network library is looked for: next to the program, where an
// installation puts it beside the program, then where the build put it.
QStringList candidates() {
    const QString file = QStringLiteral(OVREL_NETWORK_LIBRARY);
    const QString name = file.section(QLatin1Char('/'), -1);
    QStringList paths;
    if (QCoreApplication::instance()) {
        const QString dir = QCoreApplication::applicationDirPath();
        paths << dir + QLatin1Char('/') + name
              << dir + QStringLiteral("/../lib/ovrel-lite/") + name;
    }
    paths << file;
    return paths;
}

// An exchange that could not start: reports its failure from the event loop,
// like any other.
class FailedExchange : public HttpExchange {
public:
    FailedExchange(QString error, HttpEvents events) : m_guard(std::make_unique<QObject>()) {
        QTimer::singleShot(0, m_guard.get(), [error, events] {
            HttpEnd end;
            end.failed = true;
            end.error = error;
            if (events.finished)
                events.finished(end);
        });
    }

private:
    std::unique_ptr<QObject> m_guard; // destroying it drops the pending report
};

} // namespace

LoadedHttpTransport::LoadedHttpTransport(QStringList candidates)
    : m_candidates(std::move(candidates)) {}

LoadedHttpTransport::~LoadedHttpTransport() = default;

std::unique_ptr<HttpExchange> LoadedHttpTransport::start(const HttpHop& hop, HttpEvents events) {
    HttpTransport* transport = loaded();
    if (!transport)
        return std::make_unique<FailedExchange>(m_error, std::move(events));
    return transport->start(hop, std::move(events));
}

void LoadedHttpTransport::prepareEncryption() {
    if (HttpTransport* transport = loaded())
        transport->prepareEncryption();
}

HttpTransport* LoadedHttpTransport::loaded() {
    std::call_once(m_once, [this] { load(); });
    return m_transport;
}

void LoadedHttpTransport::load() {
    QString errors;
    for (const QString& path : m_candidates) {
        try {
            auto library = std::make_unique<SharedLibrary>(QFile::encodeName(path).constData());
            const auto factory = library->function<HttpTransportFactory>(kHttpTransportFactory);
            // Kept for the life of the process, like a linked library.
            m_library = std::move(library);
            m_transport = factory();
            return;
        } catch (const SharedLibraryError& error) {
            errors += (errors.isEmpty() ? QString() : QStringLiteral("; ")) + error.message();
        }
    }
    m_error = QStringLiteral("the network library is missing: ") + errors;
}

HttpTransport& HttpTransport::shared() {
    // Never destroyed: exchanges may still be in flight while the process ends.
    static LoadedHttpTransport* const transport = new LoadedHttpTransport(candidates());
    return *transport;
}

} // namespace ovrel
