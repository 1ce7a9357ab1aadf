#include "Platform/files/LinkScan.h"

#include "Platform/files/OpenBeneath.h"
#include "Platform/files/SymlinkContainment.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovrel {

namespace {

// Deeper trees are not walked: no bundle needs them.
constexpr int kMaxDepth = 64;


} // namespace

LinkScan LinkScan::of(const QString& root) {
    LinkScan scan;
    scan.m_root.reset(::open(QFile::encodeName(root).constData(),
                             O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!scan.m_root.valid()) {
        scan.unexamined = QFileInfo(root).fileName();
        return scan;
    }
    scan.walk(::dup(scan.m_root.get()), QString(), 0);
    return scan;
}

void LinkScan::walk(int directory, const QString& prefix, int depth) {
    DIR* listing = ::fdopendir(directory);
    if (!listing) {
        ::close(directory);
        unexamined = QFileInfo(prefix).fileName();
        return;
    }
    while (!unexamined) {
        errno = 0;
        const dirent* item = ::readdir(listing);
        if (!item) {
            if (errno != 0)
                unexamined = QFileInfo(prefix).fileName();
            break;
        }
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        const QString path = prefix.isEmpty() ? QFile::decodeName(name)
                                              : prefix + QLatin1Char('/') + QFile::decodeName(name);
        struct stat status {};
        if (::fstatat(::dirfd(listing), name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            unexamined = QFile::decodeName(name);
            break;
        }
        if (S_ISLNK(status.st_mode)) {
            QByteArray target(PATH_MAX, '\0');
            const ssize_t length =
                ::readlinkat(::dirfd(listing), name.constData(), target.data(), target.size());
            if (length < 0 || length >= target.size()) {
                unexamined = QFile::decodeName(name);
                break;
            }
            target.truncate(length);
            links.append({path, QFile::decodeName(target)});
            m_targets.insert(path, QFile::decodeName(target));
        } else if (S_ISDIR(status.st_mode)) {
            const int child = ::openat(::dirfd(listing), name.constData(),
                                       O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child < 0 || depth + 1 > kMaxDepth) {
                if (child >= 0)
                    ::close(child);
                unexamined = QFile::decodeName(name);
                break;
            }
            walk(child, path, depth + 1);
        }
    }
    ::closedir(listing);
}

bool LinkScan::staysInside(const Link& link) const {
    if (!SymlinkContainment::staysInside(link.path, m_targets))
        return false;
    const int fd = openBeneath(m_root.get(), QFile::encodeName(link.path), O_PATH | O_CLOEXEC,
                                RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    // Refused by the kernel: a climb above the root, an absolute target or a
    // loop. A missing target, or a kernel without openat2, leaves the verdict
    // to the tree's own links.
    return errno != EXDEV && errno != ELOOP;
}

} // namespace ovrel
