#pragma once

#include <QByteArray>
#include <cstdint>

namespace ovrel {

// openat2(2): opens `path` relative to the directory `root` with `flags`, the
// kernel refusing any resolution `resolve` forbids (RESOLVE_BENEATH,
// RESOLVE_NO_SYMLINKS, ...) in one call. -1 with errno ENOSYS on a kernel
// (or seccomp filter) without it: callers fall back to their own walk.
int openBeneath(int root, const QByteArray& path, int flags, std::uint64_t resolve);

} // namespace ovrel
