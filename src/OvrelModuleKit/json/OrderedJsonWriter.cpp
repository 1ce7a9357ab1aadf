#include "OvrelModuleKit/json/OrderedJsonWriter.h"

#include <charconv>
#include <cmath>

namespace ovrel {

JsonEncodingError::JsonEncodingError(Kind kind, QString detail)
    : m_kind(kind), m_detail(std::move(detail)), m_what(description().toStdString()) {}

QString JsonEncodingError::description() const {
    switch (m_kind) {
    case Kind::nonFiniteNumber:
        return QStringLiteral("JSON cannot encode the number ") + m_detail;
    case Kind::invalidString:
        return QStringLiteral("JSON cannot encode a string with a lone surrogate ") + m_detail;
    }
    return m_detail;
}

void OrderedJsonWriter::beforeValue() {
    if (m_stack.empty()) {
        Q_ASSERT(m_out.isEmpty()); // one top-level value per document
        return;
    }
    Frame& frame = m_stack.back();
    if (frame.isObject) {
        Q_ASSERT(frame.afterKey); // object members need a key first
        frame.afterKey = false;
        return;
    }
    if (frame.count++ > 0)
        m_out += ',';
}

void OrderedJsonWriter::open(bool isObject, char bracket) {
    beforeValue();
    m_out += bracket;
    m_stack.push_back(Frame{isObject});
}

void OrderedJsonWriter::close([[maybe_unused]] bool isObject, char bracket) {
    Q_ASSERT(!m_stack.empty() && m_stack.back().isObject == isObject && !m_stack.back().afterKey);
    m_stack.pop_back();
    m_out += bracket;
}

OrderedJsonWriter& OrderedJsonWriter::beginObject() {
    open(true, '{');
    return *this;
}

OrderedJsonWriter& OrderedJsonWriter::endObject() {
    close(true, '}');
    return *this;
}

OrderedJsonWriter& OrderedJsonWriter::beginArray() {
    open(false, '[');
    return *this;
}

OrderedJsonWriter& OrderedJsonWriter::endArray() {
    close(false, ']');
    return *this;
}

OrderedJsonWriter& OrderedJsonWriter::key(QStringView name) {
    Q_ASSERT(!m_stack.empty() && m_stack.back().isObject && !m_stack.back().afterKey);
    Frame& frame = m_stack.back();
    if (frame.count++ > 0)
        m_out += ',';
    appendString(name);
    m_out += ':';
    frame.afterKey = true;
    return *this;
}

OrderedJsonWriter& OrderedJsonWriter::string(QStringView value) {
    beforeValue();
    appendString(value);
    return *this;
}

OrderedJsonWriter& OrderedJsonWriter::number(double value) {
    if (!std::isfinite(value))
        throw JsonEncodingError(JsonEncodingError::Kind::nonFiniteNumber, QString::number(value));
    char buffer[64];
    // Plain digits for the usual magnitudes (times, sizes), an exponent only
    // where plain digits would run long, as JavaScript prints numbers.
    const double magnitude = std::fabs(value);
    const auto format = (magnitude == 0 || (magnitude >= 1e-7 && magnitude < 1e21))
                            ? std::chars_format::fixed
                            : std::chars_format::scientific;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format);
    beforeValue();
    m_out.append(buffer, result.ptr - buffer);
    return *this;
}

OrderedJsonWriter& OrderedJsonWriter::integer(qint64 value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    beforeValue();
    m_out.append(buffer, result.ptr - buffer);
    return *this;
}

OrderedJsonWriter& OrderedJsonWriter::boolean(bool value) {
    beforeValue();
    m_out += value ? "true" : "false";
    return *this;
}

void OrderedJsonWriter::appendString(QStringView value) {
    static constexpr char hex[] = "0123456789abcdef";
    m_out.reserve(m_out.size() + value.size() + 2);
    m_out += '"';
    for (qsizetype i = 0; i < value.size(); ++i) {
        char32_t c = value[i].unicode();
        if (QChar::isSurrogate(c)) {
            const bool paired = QChar::isHighSurrogate(c) && i + 1 < value.size() &&
                                QChar::isLowSurrogate(value[i + 1].unicode());
            if (!paired)
                throw JsonEncodingError(JsonEncodingError::Kind::invalidString,
                                        QStringLiteral("at index %1").arg(i));
            c = QChar::surrogateToUcs4(char16_t(c), value[++i].unicode());
        }
        switch (c) {
        case '"':
            m_out += "\\\"";
            continue;
        case '\\':
            m_out += "\\\\";
            continue;
        case '\b':
            m_out += "\\b";
            continue;
        case '\f':
            m_out += "\\f";
            continue;
        case '\n':
            m_out += "\\n";
            continue;
        case '\r':
            m_out += "\\r";
            continue;
        case '\t':
            m_out += "\\t";
            continue;
        default:
            break;
        }
        if (c < 0x20) {
            const char escape[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 0xf]};
            m_out.append(escape, sizeof escape);
        } else if (c < 0x80) {
            m_out += char(c);
        } else if (c < 0x800) {
            m_out += char(0xc0 | (c >> 6));
            m_out += char(0x80 | (c & 0x3f));
        } else if (c < 0x10000) {
            m_out += char(0xe0 | (c >> 12));
            m_out += char(0x80 | ((c >> 6) & 0x3f));
            m_out += char(0x80 | (c & 0x3f));
        } else {
            m_out += char(0xf0 | (c >> 18));
            m_out += char(0x80 | ((c >> 12) & 0x3f));
            m_out += char(0x80 | ((c >> 6) & 0x3f));
            m_out += char(0x80 | (c & 0x3f));
        }
    }
    m_out += '"';
}

} // namespace ovrel
