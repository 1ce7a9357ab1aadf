#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <exception>
#include <string>
#include <vector>

namespace ovrel {

// A value that JSON cannot carry.
class JsonEncodingError : public std::exception {
public:
    enum class Kind {
        nonFiniteNumber, // NaN or an infinity
        invalidString,   // a lone UTF-16 surrogate
    };

    JsonEncodingError(Kind kind, QString detail);

    Kind kind() const { return m_kind; }
    const QString& detail() const { return m_detail; }
    QString description() const;
    const char* what() const noexcept override { return m_what.c_str(); }
    bool operator==(const JsonEncodingError& other) const {
        return m_kind == other.m_kind && m_detail == other.m_detail;
    }

private:
    Kind m_kind;
    QString m_detail;
    std::string m_what;
};

// Compact JSON whose object keys appear in the order they are written, for the
// small shared files whose bytes are fixed. Strings are UTF-8 with only the
// characters JSON requires escaped; doubles use the shortest text that reads
// back to the same value; integers are exact over the whole 64-bit range.
// Throws JsonEncodingError for values JSON cannot represent.
class OrderedJsonWriter {
public:
    OrderedJsonWriter& beginObject();
    OrderedJsonWriter& endObject();
    OrderedJsonWriter& beginArray();
    OrderedJsonWriter& endArray();

    OrderedJsonWriter& key(QStringView name);
    OrderedJsonWriter& string(QStringView value);
    OrderedJsonWriter& number(double value);
    OrderedJsonWriter& integer(qint64 value);
    OrderedJsonWriter& boolean(bool value);

    // The document written so far; complete once every container is closed.
    const QByteArray& bytes() const { return m_out; }
    bool isComplete() const { return m_stack.empty() && !m_out.isEmpty(); }

private:
    struct Frame {
        bool isObject;
        bool afterKey = false;
        int count = 0;
    };

    void beforeValue();
    void open(bool isObject, char bracket);
    void close(bool isObject, char bracket);
    void appendString(QStringView value);

    QByteArray m_out;
    std::vector<Frame> m_stack;
};

} // namespace ovrel
