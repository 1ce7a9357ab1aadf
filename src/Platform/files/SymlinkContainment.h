#pragma once

#include <QHash>
#include <QString>

namespace ovrel::SymlinkContainment {

// Whether following the link at `link` stays inside the tree whose links are
// `links` (path -> target, paths relative to the tree's root, "/"-separated).
// Resolution mirrors the kernel's: links met on the way are followed, so
// "up/../x" through a link to an ancestor is judged where it really lands.
// Absolute targets, any step above the root and link cycles are outside.
bool staysInside(const QString& link, const QHash<QString, QString>& links);

constexpr int kMaxHops = 40;

} // namespace ovrel::SymlinkContainment
