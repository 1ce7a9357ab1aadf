#pragma once

#include "OvrelModuleKit/json/JsonValue.h"

#include <QByteArrayView>
#include <optional>

namespace ovrel {

// Strict JSON (RFC 8259) for files that may be hostile. Rejects, rather than
// repairs: invalid UTF-8, unpaired surrogate escapes, raw control characters in
// strings, numbers beyond the range of a double, trailing content, and nesting
// deeper than kMaxDepth. A leading UTF-8 byte order mark is skipped. A member
// name repeated in one object keeps the last value, as the platform's decoders
// do. Never throws; never recurses deeper than kMaxDepth.
class JsonReader {
public:
    static constexpr int kMaxDepth = 512;

    static std::optional<JsonValue> parse(QByteArrayView bytes);
};

} // namespace ovrel
