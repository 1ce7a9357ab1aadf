#pragma once

#include "OvrelModuleKit/json/JsonValue.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace ovrel {

// An entry of menu.json as written, before the limits apply. Missing and null
// keys are absent.
struct RawDynamicMenuItem {
    std::optional<QString> id;
    std::optional<QString> title;
    std::optional<QString> command;
    std::optional<bool> enabled;
    std::optional<bool> checked;
    const JsonValue::Array* children = nullptr; // entries of the submenu, null when absent

    // Whether value is an entry object whose present keys all have their
    // types; on the top level its "children" must be such entries too. A
    // child's own "children" is never looked at: the menu has two levels.
    static bool isWellTyped(const JsonValue& value, int depth);

    // The fields of an entry that passed isWellTyped; children point into value.
    static RawDynamicMenuItem from(const JsonValue& value);
};

// menu.json as written: {"version": <integer>, "items": [<entry>, …]}. Every
// entry is type-checked when decoding, but only turned into fields when the
// reader keeps it, so entries beyond the limits cost little.
struct RawDynamicMenuFile {
    qint64 version = 0;
    JsonValue document;

    // Every element passed RawDynamicMenuItem::isWellTyped at depth 0.
    const JsonValue::Array& items() const;

    // Nothing when the bytes are not such an object: invalid JSON, "version"
    // or "items" missing, a fractional version, or any entry of the wrong
    // shape, also beyond the entries that are kept.
    static std::optional<RawDynamicMenuFile> decode(const QByteArray& bytes);
};

} // namespace ovrel
