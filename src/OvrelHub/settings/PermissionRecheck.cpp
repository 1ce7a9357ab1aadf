#include "OvrelHub/settings/PermissionRecheck.h"

#include "OvrelModuleKit/permissions/PermissionStatusFile.h"

namespace ovrel {

PermissionRecheck::PermissionRecheck(ModulePaths paths, QStringList moduleIds,
                                     std::chrono::system_clock::time_point start, QObject* parent)
    : QObject(parent), m_paths(std::move(paths)), m_moduleIds(std::move(moduleIds)),
      m_start(start) {
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &PermissionRecheck::finish);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &PermissionRecheck::check);
}

QStringList PermissionRecheck::pending() const {
    QStringList waiting;
    for (const QString& id : m_moduleIds) {
        const auto written = PermissionStatusFile::writtenAt(m_paths, id);
        if (!written || *written <= m_start)
            waiting.append(id);
    }
    return waiting;
}

void PermissionRecheck::start(std::chrono::milliseconds deadline) {
    // A module without a directory cannot answer: the deadline covers it.
    for (const QString& id : m_moduleIds)
        m_watcher.addPath(m_paths.moduleDir(id));
    m_deadline.start(deadline);
    QMetaObject::invokeMethod(this, &PermissionRecheck::check, Qt::QueuedConnection);
}

void PermissionRecheck::check() {
    if (pending().isEmpty())
        finish();
}

void PermissionRecheck::finish() {
    if (m_finished)
        return;
    m_finished = true;
    m_deadline.stop();
    emit finished();
}

} // namespace ovrel
