#include "Platform/files/OpenBeneath.h"

#include <cerrno>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace ovrel {

int openBeneath(int root, const QByteArray& path, int flags, std::uint64_t resolve) {
#ifdef SYS_openat2
    open_how how{};
    how.flags = static_cast<std::uint64_t>(flags);
    how.resolve = resolve;
    const int fd = static_cast<int>(::syscall(SYS_openat2, root, path.constData(), &how, sizeof how));
    // A filter may answer EPERM for a system call it does not know.
    if (fd < 0 && errno == EPERM)
        errno = ENOSYS;
    return fd;
#else
    errno = ENOSYS;
    return -1;
#endif
}

} // namespace ovrel
