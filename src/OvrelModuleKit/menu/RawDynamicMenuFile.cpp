#include "OvrelModuleKit/menu/RawDynamicMenuFile.h"

#include "OvrelModuleKit/json/JsonFieldReader.h"

namespace ovrel {

namespace {

const QStringView kId(u"id");
const QStringView kTitle(u"title");
const QStringView kCommand(u"command");
const QStringView kEnabled(u"enabled");
const QStringView kChecked(u"checked");
const QStringView kChildren(u"children");
const QStringView kItems(u"items");

} // namespace

bool RawDynamicMenuItem::isWellTyped(const JsonValue& value, int depth) {
    if (!value.isObject())
        return false;
    if (JsonFieldReader::string(value, kId).isWrongType() ||
        JsonFieldReader::string(value, kTitle).isWrongType() ||
        JsonFieldReader::string(value, kCommand).isWrongType() ||
        JsonFieldReader::boolean(value, kEnabled).isWrongType() ||
        JsonFieldReader::boolean(value, kChecked).isWrongType())
        return false;
    if (depth > 0)
        return true;
    const auto children = JsonFieldReader::array(value, kChildren);
    if (children.isWrongType())
        return false;
    if (!children.isPresent())
        return true;
    for (const JsonValue& child : *children.value) {
        if (!isWellTyped(child, depth + 1))
            return false;
    }
    return true;
}

RawDynamicMenuItem RawDynamicMenuItem::from(const JsonValue& value) {
    return RawDynamicMenuItem{
        JsonFieldReader::string(value, kId).optional(),
        JsonFieldReader::string(value, kTitle).optional(),
        JsonFieldReader::string(value, kCommand).optional(),
        JsonFieldReader::boolean(value, kEnabled).optional(),
        JsonFieldReader::boolean(value, kChecked).optional(),
        JsonFieldReader::array(value, kChildren).valueOr(nullptr),
    };
}

const JsonValue::Array& RawDynamicMenuFile::items() const {
    return document.member(kItems)->toArray();
}

std::optional<RawDynamicMenuFile> RawDynamicMenuFile::decode(const QByteArray& bytes) {
    std::optional<JsonValue> object = JsonFieldReader::parseObject(bytes);
    if (!object)
        return std::nullopt;
    const auto version = JsonFieldReader::integer(*object, u"version");
    const auto items = JsonFieldReader::array(*object, kItems);
    if (!version.isPresent() || !items.isPresent())
        return std::nullopt;
    for (const JsonValue& item : *items.value) {
        if (!RawDynamicMenuItem::isWellTyped(item, 0))
            return std::nullopt;
    }
    return RawDynamicMenuFile{version.value, std::move(*object)};
}

} // namespace ovrel
