#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace ovrel {

// The two fields of /proc/<pid>/stat that tell whether a process is alive and
// which process a number currently belongs to.
struct ProcessStat {
    char state = '?';      // 'R', 'S', 'D', 'T', 'Z' (zombie), 'X' (dead), ...
    quint64 startTime = 0; // clock ticks after boot; with the pid, names one process

    bool hasExited() const { return state == 'Z' || state == 'X' || state == 'x'; }

    // No value when the process is gone or the file has another shape.
    static std::optional<ProcessStat> read(const QString& procRoot, qint64 pid);
    static std::optional<ProcessStat> parse(QByteArrayView contents);

    static constexpr const char* kDefaultProcRoot = "/proc";
};

} // namespace ovrel
