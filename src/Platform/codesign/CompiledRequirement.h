#pragma once

#include "Platform/codesign/CodeSigning.h"

#include <QString>
#include <memory>
#include <vector>

namespace ovrel {

// A requirement in the small language the hub writes:
//   identifier "X"                      the signing identifier is X
//   certificate leaf = H"<40 hex>"      the leaf certificate's SHA-1 is that hash
//   A and B, A or B, ( A )              "and" binds tighter than "or"
// Nothing else compiles: a requirement that cannot be read must never pass.
class CompiledRequirement : public CodeRequirement {
public:
    static constexpr int kMaxNesting = 32;
    static constexpr qsizetype kMaxTextLength = 64 * 1024;

    // Null when the text is not a requirement of this language.
    static std::shared_ptr<const CompiledRequirement> compile(const QString& text);

    // leafHash: 40 hex digits (either case).
    bool isSatisfiedBy(const QString& identifier, const QString& leafHash) const;

    struct Node {
        enum class Kind { identifier, leafHash, allOf, anyOf };
        Kind kind = Kind::identifier;
        QString value; // the identifier, or the hash in lowercase
        std::vector<Node> children;
    };

    explicit CompiledRequirement(Node root) : m_root(std::move(root)) {}

private:
    Node m_root;
};

} // namespace ovrel
