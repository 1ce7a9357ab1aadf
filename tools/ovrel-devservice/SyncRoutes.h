#pragma once

class QHttpServer;

namespace ovrel::devservice {

class DevAccounts;

// Per-user sync streams: GET answers {"version", "data"} ({"version": 0} when
// nothing is stored); PUT {"data", "baseVersion"} is accepted only on the
// current version (200 with the new version), else 409 with the server's
// version and data; DELETE removes the stream. Borrows accounts.
void installSyncRoutes(QHttpServer& server, DevAccounts& accounts);

} // namespace ovrel::devservice
