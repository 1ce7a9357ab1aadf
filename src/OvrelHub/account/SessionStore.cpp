#include "OvrelHub/account/SessionStore.h"

#include "OvrelHub/shell/Trace.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/secrets/HostSession.h"
#include "Platform/files/FileError.h"

namespace ovrel {

SessionStore::SessionStore(SecretStore store, Poster poster)
    : m_store(std::move(store)), m_poster(std::move(poster)) {
    if (!m_poster)
        m_poster = [](const QString& name) { ModuleNotify::post(name); };
}

SessionStore& SessionStore::shared() {
    static SessionStore store(SecretStore::appDefault());
    return store;
}

SecretLoad SessionStore::state() const {
    return m_store.load(HostSession::secretName);
}

std::optional<QString> SessionStore::token() const {
    return state().text();
}

void SessionStore::save(const QString& token) const {
    try {
        m_store.save(token, HostSession::secretName);
    } catch (const FileError& e) {
        Trace::force(QStringLiteral("SessionStore.save lỗi: ") + e.description());
    } catch (const SecretStore::StoreError& e) {
        Trace::force(QStringLiteral("SessionStore.save lỗi: ") + e.description());
    } catch (const std::exception& e) {
        Trace::force(QStringLiteral("SessionStore.save lỗi: ") + QString::fromUtf8(e.what()));
    }
    announce();
}

void SessionStore::remove() const {
    m_store.remove(HostSession::secretName);
    announce();
}

void SessionStore::announce() const {
    m_poster(ModuleNotify::hostName());
}

} // namespace ovrel
