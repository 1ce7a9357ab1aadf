#pragma once

#include <QString>

namespace ovrel {

// Decides whether a module bundle may run under a module id. The runner and
// the installer hold their verifier through this interface so another one can
// take its place.
class ModuleVerifying {
public:
    virtual ~ModuleVerifying() = default;

    // Returns when the bundle is acceptable; throws otherwise (the real
    // verifier throws SignatureError).
    virtual void verify(const QString& bundle, const QString& moduleId) const = 0;
};

} // namespace ovrel
