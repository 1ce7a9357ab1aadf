#include "OvrelHub/account/SignInAttempts.h"

#include "Platform/crypto/Crypto.h"

namespace ovrel {

SignInAttempts::SignInAttempts(Clock clock) : m_clock(std::move(clock)) {
    if (!m_clock)
        m_clock = [] { return std::chrono::steady_clock::now(); };
}

QString SignInAttempts::begin() {
    const QString state = QString::fromLatin1(Crypto::randomBytes(32).toBase64(
        QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
    m_open.push_back({state, m_clock()});
    while (m_open.size() > kMaxOpen)
        m_open.pop_front();
    return state;
}

SignInAttempts::Verdict SignInAttempts::take(const QString& state) {
    if (state.isEmpty())
        return Verdict::unknown;
    for (auto it = m_open.begin(); it != m_open.end(); ++it) {
        if (it->state != state)
            continue;
        const auto started = it->started;
        m_open.erase(it);
        return m_clock() - started <= kLifetime ? Verdict::accepted : Verdict::expired;
    }
    return Verdict::unknown;
}

} // namespace ovrel
