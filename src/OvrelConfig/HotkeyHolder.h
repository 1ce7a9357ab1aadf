#pragma once

#include <QString>

namespace ovrel {

// Who already uses a key combination: a command of a module, or the hub itself.
class HotkeyHolder {
public:
    enum class Kind { module, ovrel };

    static HotkeyHolder module(QString id, QString command) {
        return HotkeyHolder(Kind::module, std::move(id), std::move(command));
    }
    static HotkeyHolder ovrel() { return HotkeyHolder(Kind::ovrel, {}, {}); }

    Kind kind() const { return m_kind; }
    // Empty for the hub.
    const QString& moduleId() const { return m_moduleId; }
    const QString& command() const { return m_command; }

    bool operator==(const HotkeyHolder&) const = default;

private:
    HotkeyHolder(Kind kind, QString moduleId, QString command)
        : m_kind(kind), m_moduleId(std::move(moduleId)), m_command(std::move(command)) {}

    Kind m_kind;
    QString m_moduleId;
    QString m_command;
};

} // namespace ovrel
