#pragma once

#include <QString>

namespace ovrel {

// Keeps resident modules running in the background through per-user agents.
// The install pipeline stops a module's agent before replacing or removing the
// module and starts it again after an install. Calls may come from any thread.
class ResidentRegistering {
public:
    virtual ~ResidentRegistering() = default;

    // Creates or replaces the module's agent for the bundle and loads it;
    // throws (an exception derived from std::exception) on failure.
    virtual void registerModule(const QString& id, const QString& bundle) = 0;
    // Unloads the module's agent and deletes it; throws on failure.
    virtual void unregisterModule(const QString& id) = 0;
};

} // namespace ovrel
