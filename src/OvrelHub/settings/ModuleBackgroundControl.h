#pragma once

#include <QString>
#include <optional>

namespace ovrel {

// The run-in-background switch of a resident module and its status line, as
// the resident service provides them. Calls may block (they ask the service
// manager), so the settings window makes them off the main thread; an
// implementation must allow that.
class ModuleBackgroundControl {
public:
    struct Status {
        std::optional<QString> text; // none for modules that do not run in the background
        bool unhealthy = false;      // wanted in the background but not running, or crashing
        bool operator==(const Status&) const = default;
    };

    virtual ~ModuleBackgroundControl() = default;
    virtual Status status(const QString& moduleId) = 0;
    // Stores the choice, then registers or unregisters the module's agent;
    // a failure is logged by the implementation.
    virtual void setEnabled(const QString& moduleId, bool enabled) = 0;
};

// The Applications-folder shortcut of a module.
class ApplicationsShortcutControl {
public:
    virtual ~ApplicationsShortcutControl() = default;
    // displayName is none when the module's manifest cannot be read.
    virtual void set(bool enabled, const QString& moduleId,
                     const std::optional<QString>& displayName) = 0;
};

} // namespace ovrel
