#pragma once

#include <QByteArray>
#include <limits>

namespace ovrel::PlistDepthGuard {

struct Bounds {
    int maxDepth = 0;
    // Nodes of the tree libplist would build. A binary property list may
    // refer to one object from many places, and libplist copies it for each:
    // a few hundred bytes can stand for 2^N nodes.
    quint64 maxNodes = std::numeric_limits<quint64>::max();
};

// Whether a property list nests no deeper than maxDepth containers and
// expands to no more than maxNodes nodes, judged before libplist sees it: its
// parsers recurse once per level (a crafted file of a few hundred kilobytes
// (binary) or a few megabytes (XML) runs them off the stack) and copy shared
// objects. Malformed input may pass: the parser still rejects it. Input that
// cannot be judged safely is refused.
bool withinBounds(const QByteArray& bytes, const Bounds& bounds);

inline bool withinDepth(const QByteArray& bytes, int maxDepth) {
    return withinBounds(bytes, {maxDepth});
}

} // namespace ovrel::PlistDepthGuard
