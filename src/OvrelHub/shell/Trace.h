#pragma once

#include <QString>
#include <functional>

namespace ovrel {

// The hub's trace file $XDG_STATE_HOME/Ovrel/Ovrel-trace.log. Forced lines are
// always written; ordinary lines only while tracing is enabled ("debugLog").
// Writing never fails visibly and is serialised across threads.
class Trace {
public:
    static QString filePath();

    static void force(const QString& message);
    static void log(const std::function<QString()>& message);

    static bool isEnabled();
    // Default: reads "debugLog" of the hub's settings on every call.
    static void setEnabledProvider(std::function<bool()> provider);
};

} // namespace ovrel
