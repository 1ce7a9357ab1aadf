#pragma once

#include "OvrelModuleKit/secrets/SecretLoad.h"
#include "OvrelModuleKit/secrets/SecretStore.h"

#include <QString>
#include <functional>
#include <optional>

namespace ovrel {

// The sign-in token, kept only in the machine-bound secret store under the
// name "session" (a 0600 file in a 0700 directory). Every change is announced
// with "vn.ovrel.host" so running modules re-read the host session. Any
// thread; nothing is cached.
class SessionStore {
public:
    using Poster = std::function<void(const QString& name)>;

    // poster defaults to ModuleNotify::post.
    explicit SessionStore(SecretStore store, Poster poster = {});

    // Over SecretStore::appDefault().
    static SessionStore& shared();

    const SecretStore& secrets() const { return m_store; }

    SecretLoad state() const;
    std::optional<QString> token() const;

    // A failed write is one forced trace line ("SessionStore.save lỗi: ..."),
    // never reported otherwise; the notification is posted in every case.
    void save(const QString& token) const;
    // Deletes the secret (a missing one included) and posts the notification.
    void remove() const;

private:
    void announce() const;

    SecretStore m_store;
    Poster m_poster;
};

} // namespace ovrel
