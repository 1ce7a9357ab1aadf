#include "Platform/system/TlsBackend.h"

#include "Platform/network/HttpTransport.h"

#include <QPromise>
#include <QThreadPool>
#include <memory>

namespace ovrel::TlsBackend {

QFuture<void> loadInBackground() {
    auto promise = std::make_shared<QPromise<void>>();
    QFuture<void> future = promise->future();
    promise->start();
    // The global pool is waited for when the application ends, so a quit
    // during the load does not tear down what the load is using.
    QThreadPool::globalInstance()->start([promise] {
        HttpTransport::shared().prepareEncryption();
        promise->finish();
    });
    return future;
}

} // namespace ovrel::TlsBackend
