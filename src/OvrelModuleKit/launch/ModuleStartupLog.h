#pragma once

#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/system/UnixTime.h"

#include <QString>
#include <vector>

namespace ovrel {

// When a module process started, most recent last: "startups.json" in the
// module's directory, a JSON array of seconds since 1970 in ascending order.
// The module records each start; the hub reads the list to notice resident
// modules that keep crashing.
class ModuleStartupLog {
public:
    // What modules keep and the hub reads: well above the hub's crash-loop
    // threshold (four starts in five minutes).
    static constexpr int kStandardMaxEntries = 20;
    // A real log is a few hundred bytes; a larger file reads as empty.
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;

    // maxEntries below 1 counts as 1.
    ModuleStartupLog(ModulePaths paths, QString id, int maxEntries);

    const ModulePaths& paths() const { return m_paths; }
    const QString& id() const { return m_id; }
    int maxEntries() const { return m_maxEntries; }
    QString file() const { return m_paths.startupLogFile(m_id); }

    // Ascending. Empty when the file is missing or is not an array of numbers
    // that are all points in time.
    std::vector<UnixTime::TimePoint> timestamps() const;

    // Adds `at`, keeps the newest maxEntries and replaces the file. Failures
    // are ignored: recording must never stop a start.
    void record(UnixTime::TimePoint at) const;

    // The file's bytes for a list of times, as record writes them.
    static QByteArray encode(const std::vector<double>& seconds);

private:
    ModulePaths m_paths;
    QString m_id;
    int m_maxEntries;
};

} // namespace ovrel
