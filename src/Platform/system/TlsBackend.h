#pragma once

#include <QFuture>

namespace ovrel::TlsBackend {

// Loads the network library and its TLS backend (OpenSSL and the system's
// certificates) on a worker thread. The first request of the process would
// otherwise do it on the thread that sends it, which costs about as much as
// the rest of the hub's start. The future finishes once it is loaded, or
// once loading has failed: requests then fail by themselves.
QFuture<void> loadInBackground();

} // namespace ovrel::TlsBackend
