#pragma once

#include <QByteArray>

namespace ovrel::PlistDepthGuard {

// Whether a property list nests no deeper than maxDepth containers, judged
// before libplist sees it: its parsers recurse once per level and a crafted
// file of a few hundred kilobytes (binary) or a few megabytes (XML) runs them
// off the stack. Malformed input may pass: the parser still rejects it.
// Input that cannot be judged safely is refused.
bool withinDepth(const QByteArray& bytes, int maxDepth);

} // namespace ovrel::PlistDepthGuard
