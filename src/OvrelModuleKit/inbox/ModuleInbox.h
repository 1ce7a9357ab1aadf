#pragma once

#include "OvrelModuleKit/inbox/InboxCommand.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/system/UnixTime.h"

#include <QString>
#include <optional>

namespace ovrel {

// A module's one-slot command inbox: the hub writes a command, the module takes
// it. A later write before the take replaces the waiting command.
class ModuleInbox {
public:
    // Larger files are not commands; they are consumed and ignored.
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;

    ModuleInbox(ModulePaths paths, QString id);

    const ModulePaths& paths() const { return m_paths; }
    const QString& id() const { return m_id; }
    QString file() const { return m_paths.inboxFile(m_id); }

    // Atomically replaces the inbox file, creating the module directory when
    // needed. Posts nothing: the caller decides whether the module is told.
    // Throws FileError (also for an id that is not a valid module id) or
    // JsonEncodingError; nothing is written then.
    void write(const QString& command, const std::optional<QString>& argument,
               UnixTime::TimePoint at) const;

    // Consumes the slot whatever it holds: the file is gone afterwards (nothing
    // is touched for an invalid module id). Returns
    // the command when it decodes and is newer than lastSeen (seconds since
    // 1970). Of several concurrent takers at most one receives a given command,
    // and a command written while a take runs stays for the next take.
    std::optional<InboxCommand> take(double lastSeen) const;

    // True exactly when the command was written after lastSeen.
    static bool shouldAccept(const InboxCommand& command, double lastSeen);

private:
    ModulePaths m_paths;
    QString m_id;
};

} // namespace ovrel
