#include "Platform/process/ProcessScanner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ovrel {

namespace {

constexpr QByteArrayView kDeletedMark = " (deleted)";

struct Prefix {
    QByteArray bytes; // the canonical directory followed by "/"
    QString directory;
};

std::vector<Prefix> prefixesFor(const QStringList& directories) {
    std::vector<Prefix> prefixes;
    for (const QString& directory : directories) {
        const QString canonical = ProcessScanner::canonicalDirectory(directory);
        // "/" would claim every program of the user, the caller's own included.
        if (canonical.isEmpty() || canonical == QLatin1String("/"))
            continue;
        prefixes.push_back({QFile::encodeName(canonical) + '/', canonical});
    }
    return prefixes;
}

bool isProcessNumber(const char* name) {
    if (!*name)
        return false;
    for (const char* p = name; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
    }
    return std::strlen(name) < 16;
}

class DirectoryStream {
public:
    explicit DirectoryStream(const QString& path) : m_dir(::opendir(QFile::encodeName(path))) {}
    ~DirectoryStream() {
        if (m_dir)
            ::closedir(m_dir);
    }
    DirectoryStream(const DirectoryStream&) = delete;
    DirectoryStream& operator=(const DirectoryStream&) = delete;
    DIR* get() const { return m_dir; }

private:
    DIR* m_dir;
};

} // namespace

ProcessScanner::ProcessScanner(QString procRoot) : m_procRoot(std::move(procRoot)) {}

QString ProcessScanner::canonicalDirectory(const QString& directory) {
    if (directory.isEmpty())
        return {};
    QString existing = QDir::cleanPath(QDir(directory).absolutePath());
    QString missing;
    for (;;) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty())
            return QDir::cleanPath(canonical + missing);
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash < 0)
            return {};
        missing.prepend(existing.mid(slash));
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
    }
}

QList<ProcessScanner::Match>
ProcessScanner::executablesInside(const QStringList& directories) const {
    const std::vector<Prefix> prefixes = prefixesFor(directories);
    if (prefixes.empty())
        return {};
    const DirectoryStream proc(m_procRoot);
    if (!proc.get())
        return {};
    const int procFd = ::dirfd(proc.get());
    const uid_t user = ::geteuid();

    QList<Match> matches;
    char linkPath[32];
    char target[PATH_MAX + kDeletedMark.size() + 1];
    while (const dirent* entry = ::readdir(proc.get())) {
        if (!isProcessNumber(entry->d_name))
            continue;
        // A process that ends during the pass simply fails one of these calls.
        struct stat owner {};
        if (::fstatat(procFd, entry->d_name, &owner, 0) != 0 || owner.st_uid != user)
            continue;
        std::snprintf(linkPath, sizeof linkPath, "%s/exe", entry->d_name);
        // Zombies and kernel threads have no executable; other users' refuse.
        const ssize_t length = ::readlinkat(procFd, linkPath, target, sizeof target);
        if (length <= 0 || static_cast<size_t>(length) >= sizeof target)
            continue;
        QByteArray executable(target, length);
        const bool deleted = executable.endsWith(kDeletedMark);
        if (deleted)
            executable.chop(kDeletedMark.size());
        for (const Prefix& prefix : prefixes) {
            if (!executable.startsWith(prefix.bytes))
                continue;
            const qint64 pid = QByteArray(entry->d_name).toLongLong();
            const auto stat = ProcessStat::read(m_procRoot, pid);
            if (stat && !stat->hasExited())
                matches.append({pid, stat->startTime, QFile::decodeName(executable), deleted,
                                prefix.directory});
            break;
        }
    }
    return matches;
}

} // namespace ovrel
