#pragma once

#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <chrono>

namespace ovrel {

// Waits for modules asked to check their permissions again: done when every
// module's status file was written after the start, or when the deadline
// passes, whichever comes first. Wakes on changes of the module directories
// (the file is replaced by a rename) instead of polling. Main thread.
class PermissionRecheck : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kDeadline = std::chrono::seconds(3);

    PermissionRecheck(ModulePaths paths, QStringList moduleIds,
                      std::chrono::system_clock::time_point start, QObject* parent = nullptr);

    // Emits `finished` once; at once (queued) when nobody is pending.
    void start(std::chrono::milliseconds deadline = kDeadline);
    QStringList pending() const;

signals:
    void finished();

private:
    void check();
    void finish();

    ModulePaths m_paths;
    QStringList m_moduleIds;
    std::chrono::system_clock::time_point m_start;
    QFileSystemWatcher m_watcher;
    QTimer m_deadline;
    bool m_finished = false;
};

} // namespace ovrel
