#pragma once

#include <QString>
#include <optional>

namespace ovrel {

// What a clickable module item carries: which command goes to which module.
struct ModuleCommandRef {
    QString moduleId;
    QString command;
    std::optional<QString> argument;
    bool operator==(const ModuleCommandRef&) const = default;
};

// Something that delivers a command to a module (the runner; fakes in tests).
class ModuleCommandSending {
public:
    virtual ~ModuleCommandSending() = default;
    virtual void send(const QString& command, const std::optional<QString>& argument,
                      const QString& moduleId) = 0;
};

} // namespace ovrel
