#pragma once

#include <QString>
#include <chrono>
#include <deque>
#include <functional>

namespace ovrel {

// The sign-ins this hub started, each known by a random state value that the
// service hands back in the callback. A callback is taken for one of them
// only once and only within kLifetime of its start, so a forged, replayed or
// late callback cannot sign the user in. Main thread only.
class SignInAttempts {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    static constexpr std::chrono::minutes kLifetime{10};
    // Older attempts are forgotten beyond this many open ones.
    static constexpr size_t kMaxOpen = 8;

    enum class Verdict { accepted, unknown, expired };

    explicit SignInAttempts(Clock clock = {});

    // A fresh state value (32 random bytes, base64url) for a new sign-in.
    QString begin();
    // Closes the attempt whatever the verdict, so it cannot be used again.
    Verdict take(const QString& state);

private:
    struct Attempt {
        QString state;
        std::chrono::steady_clock::time_point started;
    };
    Clock m_clock;
    std::deque<Attempt> m_open;
};

} // namespace ovrel
