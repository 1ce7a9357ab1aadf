#include "Platform/codesign/CompiledRequirement.h"

#include <algorithm>
#include <optional>

namespace ovrel {

namespace {

using Node = CompiledRequirement::Node;

struct Token {
    enum class Kind { word, string, hash, open, close, equals, end };
    Kind kind = Kind::end;
    QString text;
};

constexpr qsizetype kHashDigits = 40;

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Reads a double-quoted text starting at text[pos] == '"'. Escapes and control
// characters are refused rather than interpreted, so no quote can be smuggled in.
std::optional<QString> readQuoted(const QString& text, qsizetype& pos) {
    const qsizetype start = ++pos;
    while (pos < text.size() && text[pos] != u'"') {
        const char16_t u = text[pos].unicode();
        if (u == u'\\' || u < 0x20 || u == 0x7f)
            return std::nullopt;
        ++pos;
    }
    if (pos >= text.size())
        return std::nullopt;
    QString value = text.mid(start, pos - start);
    ++pos;
    return value;
}

std::optional<std::vector<Token>> tokenize(const QString& text) {
    std::vector<Token> tokens;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (isSpace(c)) {
            ++pos;
        } else if (c == u'(') {
            tokens.push_back({Token::Kind::open, {}});
            ++pos;
        } else if (c == u')') {
            tokens.push_back({Token::Kind::close, {}});
            ++pos;
        } else if (c == u'=') {
            tokens.push_back({Token::Kind::equals, {}});
            ++pos;
        } else if (c == u'H' && pos + 1 < text.size() && text[pos + 1] == u'"') {
            ++pos;
            auto digits = readQuoted(text, pos);
            if (!digits || digits->size() != kHashDigits ||
                !std::all_of(digits->cbegin(), digits->cend(), isHexDigit))
                return std::nullopt;
            tokens.push_back({Token::Kind::hash, digits->toLower()});
        } else if (c == u'"') {
            auto value = readQuoted(text, pos);
            if (!value || value->isEmpty())
                return std::nullopt;
            tokens.push_back({Token::Kind::string, *value});
        } else if (isAsciiLetter(c)) {
            const qsizetype start = pos;
            while (pos < text.size() && isAsciiLetter(text[pos]))
                ++pos;
            tokens.push_back({Token::Kind::word, text.mid(start, pos - start)});
        } else {
            return std::nullopt;
        }
    }
    tokens.push_back({Token::Kind::end, {}});
    return tokens;
}

// Recursive descent over the token list; recursion only deepens at "(", which
// is bounded by kMaxNesting.
class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    std::optional<Node> parseAll() {
        auto root = parseOr(0);
        if (!root || peek().kind != Token::Kind::end)
            return std::nullopt;
        return root;
    }

private:
    const Token& peek() const { return m_tokens[m_pos]; }
    const Token& take() {
        const Token& t = m_tokens[m_pos];
        if (t.kind != Token::Kind::end)
            ++m_pos;
        return t;
    }
    bool takeWord(const char* word) {
        if (peek().kind != Token::Kind::word || peek().text != QLatin1String(word))
            return false;
        take();
        return true;
    }

    std::optional<Node> parseOr(int depth) {
        return parseList(depth, "or", Node::Kind::anyOf, &Parser::parseAnd);
    }
    std::optional<Node> parseAnd(int depth) {
        return parseList(depth, "and", Node::Kind::allOf, &Parser::parsePrimary);
    }

    std::optional<Node> parseList(int depth, const char* joiner, Node::Kind kind,
                                  std::optional<Node> (Parser::*operand)(int)) {
        auto first = (this->*operand)(depth);
        if (!first)
            return std::nullopt;
        Node list{kind, {}, {}};
        list.children.push_back(std::move(*first));
        while (takeWord(joiner)) {
            auto next = (this->*operand)(depth);
            if (!next)
                return std::nullopt;
            list.children.push_back(std::move(*next));
        }
        if (list.children.size() == 1)
            return std::move(list.children.front());
        return list;
    }

    std::optional<Node> parsePrimary(int depth) {
        const Token& t = take();
        if (t.kind == Token::Kind::open) {
            if (depth >= CompiledRequirement::kMaxNesting)
                return std::nullopt;
            auto inner = parseOr(depth + 1);
            if (!inner || take().kind != Token::Kind::close)
                return std::nullopt;
            return inner;
        }
        if (t.kind != Token::Kind::word)
            return std::nullopt;
        if (t.text == QLatin1String("identifier")) {
            const Token& value = take();
            if (value.kind != Token::Kind::string)
                return std::nullopt;
            return Node{Node::Kind::identifier, value.text, {}};
        }
        if (t.text == QLatin1String("certificate")) {
            if (!takeWord("leaf") || take().kind != Token::Kind::equals)
                return std::nullopt;
            const Token& hash = take();
            if (hash.kind != Token::Kind::hash)
                return std::nullopt;
            return Node{Node::Kind::leafHash, hash.text, {}};
        }
        return std::nullopt;
    }

    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
};

bool evaluate(const Node& node, const QString& identifier, const QString& leafHash) {
    switch (node.kind) {
    case Node::Kind::identifier:
        return node.value == identifier;
    case Node::Kind::leafHash:
        return node.value == leafHash;
    case Node::Kind::allOf:
        return std::all_of(node.children.cbegin(), node.children.cend(), [&](const Node& child) {
            return evaluate(child, identifier, leafHash);
        });
    case Node::Kind::anyOf:
        return std::any_of(node.children.cbegin(), node.children.cend(), [&](const Node& child) {
            return evaluate(child, identifier, leafHash);
        });
    }
    return false;
}

} // namespace

std::shared_ptr<const CompiledRequirement> CompiledRequirement::compile(const QString& text) {
    if (text.size() > kMaxTextLength)
        return nullptr;
    auto tokens = tokenize(text);
    if (!tokens)
        return nullptr;
    auto root = Parser(std::move(*tokens)).parseAll();
    if (!root)
        return nullptr;
    return std::make_shared<const CompiledRequirement>(std::move(*root));
}

bool CompiledRequirement::isSatisfiedBy(const QString& identifier, const QString& leafHash) const {
    return evaluate(m_root, identifier, leafHash.toLower());
}

} // namespace ovrel
