#pragma once

#include "OvrelModuleKit/json/JsonValue.h"

#include <QByteArray>

namespace ovrel {

// Writes JSON in the members' own order (callers that want sorted keys pass them
// sorted). Integers are written exactly; reals that are not finite, which JSON
// cannot carry, are written as null.
class JsonWriter {
public:
    // Two-space indentation and "key" : value, one member or element per line.
    static QByteArray pretty(const JsonValue& value);
};

} // namespace ovrel
