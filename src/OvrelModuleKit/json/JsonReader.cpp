#include "OvrelModuleKit/json/JsonReader.h"

#include <QHash>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace ovrel {

namespace {

constexpr std::size_t kLinearDuplicateScan = 16;

struct Failure {};

class Parser {
public:
    explicit Parser(QByteArrayView bytes)
        : m_p(reinterpret_cast<const unsigned char*>(bytes.data())), m_end(m_p + bytes.size()) {}

    JsonValue document() {
        static constexpr unsigned char kBom[] = {0xEF, 0xBB, 0xBF};
        if (m_end - m_p >= 3 && std::equal(kBom, kBom + 3, m_p))
            m_p += 3;
        skipWhitespace();
        JsonValue result = value(0);
        skipWhitespace();
        if (m_p != m_end)
            throw Failure{};
        return result;
    }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
    QString m_scratch;

    void skipWhitespace() {
        while (m_p != m_end && (*m_p == ' ' || *m_p == '\t' || *m_p == '\n' || *m_p == '\r'))
            ++m_p;
    }

    unsigned char peek() const {
        if (m_p == m_end)
            throw Failure{};
        return *m_p;
    }

    void expectLiteral(const char* literal) {
        for (const char* c = literal; *c; ++c, ++m_p) {
            if (m_p == m_end || *m_p != static_cast<unsigned char>(*c))
                throw Failure{};
        }
    }

    JsonValue value(int depth) {
        switch (peek()) {
        case '{':
            return object(depth + 1);
        case '[':
            return array(depth + 1);
        case '"':
            return JsonValue::fromString(string());
        case 't':
            expectLiteral("true");
            return JsonValue::fromBool(true);
        case 'f':
            expectLiteral("false");
            return JsonValue::fromBool(false);
        case 'n':
            expectLiteral("null");
            return JsonValue();
        default:
            return number();
        }
    }

    JsonValue array(int depth) {
        if (depth > JsonReader::kMaxDepth)
            throw Failure{};
        ++m_p; // '['
        JsonValue::Array items;
        skipWhitespace();
        if (peek() == ']') {
            ++m_p;
            return JsonValue::fromArray(std::move(items));
        }
        for (;;) {
            skipWhitespace();
            items.push_back(value(depth));
            skipWhitespace();
            const unsigned char c = peek();
            ++m_p;
            if (c == ']')
                return JsonValue::fromArray(std::move(items));
            if (c != ',')
                throw Failure{};
        }
    }

    JsonValue object(int depth) {
        if (depth > JsonReader::kMaxDepth)
            throw Failure{};
        ++m_p; // '{'
        JsonValue::Object members;
        QHash<QString, qsizetype> index;
        skipWhitespace();
        if (peek() == '}') {
            ++m_p;
            return JsonValue::fromObject(std::move(members));
        }
        for (;;) {
            skipWhitespace();
            if (peek() != '"')
                throw Failure{};
            QString name = string();
            skipWhitespace();
            if (peek() != ':')
                throw Failure{};
            ++m_p;
            skipWhitespace();
            JsonValue v = value(depth);
            // A repeated name keeps its first place and takes the last value.
            const qsizetype earlier = earlierMember(members, index, name);
            if (earlier >= 0)
                members[static_cast<std::size_t>(earlier)].second = std::move(v);
            else
                members.emplace_back(std::move(name), std::move(v));
            skipWhitespace();
            const unsigned char c = peek();
            ++m_p;
            if (c == '}')
                return JsonValue::fromObject(std::move(members));
            if (c != ',')
                throw Failure{};
        }
    }

    // Index of an earlier member with this name, or -1. Names are compared one by
    // one while the object is small; an index takes over beyond that so a hostile
    // object cannot make parsing quadratic.
    static qsizetype earlierMember(const JsonValue::Object& members,
                                   QHash<QString, qsizetype>& index, const QString& name) {
        if (members.size() < kLinearDuplicateScan) {
            for (std::size_t i = 0; i < members.size(); ++i) {
                if (members[i].first == name)
                    return static_cast<qsizetype>(i);
            }
            return -1;
        }
        if (index.isEmpty()) {
            for (std::size_t i = 0; i < members.size(); ++i)
                index.insert(members[i].first, static_cast<qsizetype>(i));
        }
        const auto it = index.constFind(name);
        if (it != index.cend())
            return *it;
        index.insert(name, static_cast<qsizetype>(members.size()));
        return -1;
    }

    // Decodes into a scratch buffer reused for every string, eight plain ASCII
    // bytes at a time where it can, and copies the result out once.
    QString string() {
        ++m_p; // opening quote
        qsizetype n = 0;
        char16_t* buffer = reinterpret_cast<char16_t*>(m_scratch.data());
        for (;;) {
            if (m_scratch.size() < n + 8) {
                m_scratch.resize(std::max<qsizetype>(2 * m_scratch.size(), n + 64));
                buffer = reinterpret_cast<char16_t*>(m_scratch.data());
            }
            char16_t* const d = buffer + n;
            if (m_end - m_p >= 8 && *m_p < 0x80) {
                std::uint64_t word;
                std::memcpy(&word, m_p, 8);
                if (isPlainAscii(word)) {
                    for (int i = 0; i < 8; ++i)
                        d[i] = m_p[i];
                    m_p += 8;
                    n += 8;
                    continue;
                }
            }
            const unsigned char c = peek();
            ++m_p;
            if (c >= 0x80) {
                n += utf8Sequence(c, d);
            } else if (c == '"') {
                return QString(m_scratch.constData(), n);
            } else if (c == '\\') {
                n += escape(d);
            } else if (c < 0x20) {
                throw Failure{}; // a raw control character
            } else {
                d[0] = c;
                ++n;
            }
        }
    }

    // Eight bytes, none of them a quote, a backslash, a control character or
    // part of a multi-byte sequence.
    static bool isPlainAscii(std::uint64_t w) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
        const auto hasZeroByte = [](std::uint64_t x) { return (x - kOnes) & ~x & kHighs; };
        const std::uint64_t below0x20 = (w - kOnes * 0x20) & ~w & kHighs;
        return ((w & kHighs) | below0x20 | hasZeroByte(w ^ (kOnes * '"')) |
                hasZeroByte(w ^ (kOnes * '\\'))) == 0;
    }

    // Writes the escaped character after a backslash; returns the units written.
    int escape(char16_t* d) {
        const unsigned char c = peek();
        ++m_p;
        switch (c) {
        case '"':
        case '\\':
        case '/':
            d[0] = c;
            return 1;
        case 'b':
            d[0] = u'\b';
            return 1;
        case 'f':
            d[0] = u'\f';
            return 1;
        case 'n':
            d[0] = u'\n';
            return 1;
        case 'r':
            d[0] = u'\r';
            return 1;
        case 't':
            d[0] = u'\t';
            return 1;
        case 'u':
            break;
        default:
            throw Failure{};
        }
        const char16_t unit = hex4();
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            throw Failure{}; // a low surrogate with no high one before it
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            expectLiteral("\\u");
            const char16_t low = hex4();
            if (low < 0xDC00 || low > 0xDFFF)
                throw Failure{};
            d[0] = unit;
            d[1] = low;
            return 2;
        }
        d[0] = unit;
        return 1;
    }

    char16_t hex4() {
        char16_t result = 0;
        for (int i = 0; i < 4; ++i) {
            const unsigned char c = peek();
            ++m_p;
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                throw Failure{};
            result = static_cast<char16_t>(result * 16 + digit);
        }
        return result;
    }

    // Decodes the multi-byte UTF-8 sequence that `lead` starts, rejecting
    // malformed and overlong forms, encoded surrogates and code points beyond
    // U+10FFFF; returns the UTF-16 units written.
    int utf8Sequence(unsigned char lead, char16_t* d) {
        // Two and three bytes (combining marks, most of Vietnamese and every CJK
        // text) take the short way.
        if (lead >= 0xC2 && lead <= 0xDF && m_p != m_end && (m_p[0] & 0xC0) == 0x80) {
            d[0] = static_cast<char16_t>((char16_t(lead & 0x1F) << 6) | (m_p[0] & 0x3F));
            ++m_p;
            return 1;
        }
        if ((lead & 0xF0) == 0xE0 && m_end - m_p >= 2 && (m_p[0] & 0xC0) == 0x80 &&
            (m_p[1] & 0xC0) == 0x80) {
            const char32_t cp = (char32_t(lead & 0x0F) << 12) | (char32_t(m_p[0] & 0x3F) << 6) |
                                char32_t(m_p[1] & 0x3F);
            if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))
                throw Failure{};
            m_p += 2;
            d[0] = static_cast<char16_t>(cp);
            return 1;
        }
        int continuation;
        char32_t cp;
        char32_t minimum;
        if (lead >= 0xC2 && lead <= 0xDF) {
            continuation = 1;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuation = 2;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuation = 3;
            cp = lead & 0x07;
            minimum = 0x10000;
        } else {
            throw Failure{};
        }
        if (m_end - m_p < continuation)
            throw Failure{};
        for (int i = 0; i < continuation; ++i, ++m_p) {
            if ((*m_p & 0xC0) != 0x80)
                throw Failure{};
            cp = (cp << 6) | (*m_p & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            throw Failure{};
        if (cp < 0x10000) {
            d[0] = static_cast<char16_t>(cp);
            return 1;
        }
        cp -= 0x10000;
        d[0] = static_cast<char16_t>(0xD800 + (cp >> 10));
        d[1] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        return 2;
    }

    bool atDigit() const { return m_p != m_end && *m_p >= '0' && *m_p <= '9'; }

    void digits() {
        if (!atDigit())
            throw Failure{};
        while (atDigit())
            ++m_p;
    }

    JsonValue number() {
        const unsigned char* start = m_p;
        if (*m_p == '-')
            ++m_p;
        if (peek() == '0') {
            ++m_p;
        } else {
            digits();
        }
        bool integral = true;
        if (m_p != m_end && *m_p == '.') {
            ++m_p;
            digits();
            integral = false;
        }
        if (m_p != m_end && (*m_p == 'e' || *m_p == 'E')) {
            ++m_p;
            if (m_p != m_end && (*m_p == '+' || *m_p == '-'))
                ++m_p;
            digits();
            integral = false;
        }
        const char* first = reinterpret_cast<const char*>(start);
        const char* last = reinterpret_cast<const char*>(m_p);
        if (integral) {
            qint64 i = 0;
            const auto [end, ec] = std::from_chars(first, last, i);
            if (ec == std::errc() && end == last)
                return JsonValue::fromInteger(i);
            // Too large for 64 bits: it is still a valid number, kept as a double.
        }
        double d = 0;
        const auto [end, ec] = std::from_chars(first, last, d);
        if (ec != std::errc() || end != last || !std::isfinite(d))
            throw Failure{};
        return JsonValue::fromReal(d);
    }
};

} // namespace

std::optional<JsonValue> JsonReader::parse(QByteArrayView bytes) {
    try {
        return Parser(bytes).document();
    } catch (const Failure&) {
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace ovrel
