#include "OvrelModuleKit/json/JsonWriter.h"

#include <charconv>
#include <cmath>

namespace ovrel {

namespace {

void writeString(QByteArray& out, const QString& text) {
    out.append('"');
    const QByteArray utf8 = text.toUtf8();
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        case '\b':
            out.append("\\b");
            break;
        case '\f':
            out.append("\\f");
            break;
        default:
            if (c < 0x20) {
                static constexpr char kHex[] = "0123456789abcdef";
                out.append("\\u00");
                out.append(kHex[c >> 4]);
                out.append(kHex[c & 0xF]);
            } else {
                out.append(ch);
            }
        }
    }
    out.append('"');
}

template <typename Number> void writeNumber(QByteArray& out, Number n) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
    out.append(buffer, result.ptr - buffer);
}

void indent(QByteArray& out, int level) {
    out.append(QByteArray(level * 2, ' '));
}

void writePretty(QByteArray& out, const JsonValue& value, int level) {
    switch (value.type()) {
    case JsonValue::Type::null:
        out.append("null");
        return;
    case JsonValue::Type::boolean:
        out.append(value.toBool() ? "true" : "false");
        return;
    case JsonValue::Type::integer:
        writeNumber(out, *value.toInteger());
        return;
    case JsonValue::Type::real:
        if (std::isfinite(value.toReal()))
            writeNumber(out, value.toReal());
        else
            out.append("null");
        return;
    case JsonValue::Type::string:
        writeString(out, value.toString());
        return;
    case JsonValue::Type::array: {
        const auto& items = value.toArray();
        if (items.empty()) {
            out.append("[]");
            return;
        }
        out.append("[\n");
        for (std::size_t i = 0; i < items.size(); ++i) {
            indent(out, level + 1);
            writePretty(out, items[i], level + 1);
            out.append(i + 1 < items.size() ? ",\n" : "\n");
        }
        indent(out, level);
        out.append(']');
        return;
    }
    case JsonValue::Type::object: {
        const auto& members = value.toObject();
        if (members.empty()) {
            out.append("{}");
            return;
        }
        out.append("{\n");
        for (std::size_t i = 0; i < members.size(); ++i) {
            indent(out, level + 1);
            writeString(out, members[i].first);
            out.append(" : ");
            writePretty(out, members[i].second, level + 1);
            out.append(i + 1 < members.size() ? ",\n" : "\n");
        }
        indent(out, level);
        out.append('}');
        return;
    }
    }
}

} // namespace

QByteArray JsonWriter::pretty(const JsonValue& value) {
    QByteArray out;
    writePretty(out, value, 0);
    return out;
}

} // namespace ovrel
