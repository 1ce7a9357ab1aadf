#pragma once

class QHttpServer;

namespace ovrel::devservice {

class DevAccounts;

// Browser sign-in for "google" and "discord": a page to choose a test user
// that ends in a redirect to ovrel-lite://auth?code=...&state=... (or
// error=access_denied when cancelled); then the code exchange, the profile,
// sign-out and deletion of the account. Borrows accounts.
void installAuthRoutes(QHttpServer& server, DevAccounts& accounts);

} // namespace ovrel::devservice
