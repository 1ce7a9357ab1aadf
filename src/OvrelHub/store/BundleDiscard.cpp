#include "OvrelHub/store/BundleDiscard.h"

#include "OvrelHub/store/FileTree.h"
#include "OvrelHub/store/StagingLock.h"
#include "Platform/files/FileError.h"
#include "Platform/system/CrashPoint.h"

#include <QFile>
#include <fcntl.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace ovrel {

namespace {

// In the child of a fork: only the removal and plain system calls. The lock
// files go last: with the parent gone nobody holds them, and a recovery that
// takes one meanwhile finds its entry gone, which is what it wanted.
[[noreturn]] void removeDetached(const QStringList& directories,
                                 const QList<QByteArray>& lockFiles) {
    ::setsid();
    if (::fork() != 0)
        ::_exit(0); // the grandchild is adopted by init and never waited for
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    for (int stream = 0; stream < 3; ++stream)
        ::dup2(null, stream);
    ::close_range(3, ~0U, 0); // the caller's pipes must see their end
    for (const QString& directory : directories)
        FileTree::remove(directory);
    for (const QByteArray& lockFile : lockFiles)
        ::unlink(lockFile.constData());
    ::_exit(0);
}

} // namespace

BundleDiscard::BundleDiscard() {
    m_thread.setMaxThreadCount(1);
    m_thread.setExpiryTimeout(-1);
}

BundleDiscard::~BundleDiscard() {
    m_thread.waitForDone();
}

void BundleDiscard::remove(const QString& directory) {
    {
        const std::lock_guard lock(m_mutex);
        m_pending.append(directory);
    }
    // Another process's recovery leaves it to this removal.
    std::shared_ptr<const StagingLock> inUse;
    try {
        inUse = std::make_shared<const StagingLock>(StagingLock::acquire(directory));
    } catch (const FileError&) {
        // Unguarded: a recovery may remove it too, which harms nothing.
    }
    m_thread.start([this, directory, inUse] {
        CrashPoint::reach("discard.started");
        FileTree::remove(directory);
        const std::lock_guard lock(m_mutex);
        m_pending.removeOne(directory);
    });
}

void BundleDiscard::waitForDone() {
    m_thread.waitForDone();
}

void BundleDiscard::continueInBackgroundProcess() {
    QStringList pending;
    {
        const std::lock_guard lock(m_mutex);
        pending = m_pending;
    }
    if (pending.isEmpty())
        return;
    QList<QByteArray> lockFiles;
    for (const QString& directory : pending)
        lockFiles.append(QFile::encodeName(StagingLock::lockFileOf(directory)));
    const pid_t child = ::fork();
    if (child == 0)
        removeDetached(pending, lockFiles);
    if (child > 0)
        ::waitpid(child, nullptr, 0); // the first child ends at once
}

} // namespace ovrel
