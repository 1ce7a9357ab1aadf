#pragma once

#include "Platform/files/UniqueFd.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace ovrel {

// Every symbolic link in a directory tree, found without following any, and
// whether each one, followed on the file system, stays inside the tree.
class LinkScan {
public:
    struct Link {
        QString path;   // relative to the root, "/"-separated
        QString target; // as stored in the link
    };

    // Walks the tree below `root` (hidden items included, links not entered).
    static LinkScan of(const QString& root);

    QList<Link> links;
    // The name of the first item that could not be examined, if any.
    std::optional<QString> unexamined;

    // Whether following the link keeps to the tree: the kernel resolves it
    // beneath the root (every link on the way followed, any climb above the
    // root or absolute target refused), and the tree's own links, read as
    // the kernel would, agree even where the target does not exist yet.
    bool staysInside(const Link& link) const;

private:
    void walk(int directory, const QString& prefix, int depth);

    UniqueFd m_root;
    QHash<QString, QString> m_targets;
};

} // namespace ovrel
