#pragma once

#include "Platform/network/HttpTransport.h"

#include <QStringList>
#include <memory>
#include <mutex>

namespace ovrel {

class SharedLibrary;

// The transport of the network library, opened on the first exchange from the
// first of `candidates` (library files) that loads. When none does, every
// exchange ends as failed, naming what the loader said.
class LoadedHttpTransport : public HttpTransport {
public:
    explicit LoadedHttpTransport(QStringList candidates);
    ~LoadedHttpTransport() override;

    std::unique_ptr<HttpExchange> start(const HttpHop& hop, HttpEvents events) override;
    void prepareEncryption() override;

private:
    HttpTransport* loaded();
    void load();

    QStringList m_candidates;
    std::once_flag m_once;
    std::unique_ptr<SharedLibrary> m_library;
    HttpTransport* m_transport = nullptr;
    QString m_error;
};

} // namespace ovrel
