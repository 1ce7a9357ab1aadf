#include "OvrelModuleKit/menu/RawDynamicMenuFile.h"

#include "OvrelModuleKit/json/JsonFieldReader.h"

#include <QJsonObject>

namespace ovrel {

namespace {

const QLatin1String kId("id");
const QLatin1String kTitle("title");
const QLatin1String kCommand("command");
const QLatin1String kEnabled("enabled");
const QLatin1String kChecked("checked");
const QLatin1String kChildren("children");

bool hasTypeOrIsAbsent(const QJsonObject& object, QLatin1String key, QJsonValue::Type type) {
    const QJsonValue::Type actual = object.value(key).type();
    return actual == type || actual == QJsonValue::Null || actual == QJsonValue::Undefined;
}

} // namespace

bool RawDynamicMenuItem::isWellTyped(const QJsonValue& value, int depth) {
    if (!value.isObject())
        return false;
    const QJsonObject object = value.toObject();
    if (!hasTypeOrIsAbsent(object, kId, QJsonValue::String) ||
        !hasTypeOrIsAbsent(object, kTitle, QJsonValue::String) ||
        !hasTypeOrIsAbsent(object, kCommand, QJsonValue::String) ||
        !hasTypeOrIsAbsent(object, kEnabled, QJsonValue::Bool) ||
        !hasTypeOrIsAbsent(object, kChecked, QJsonValue::Bool))
        return false;
    if (depth > 0)
        return true;
    const QJsonValue children = object.value(kChildren);
    if (children.isNull() || children.isUndefined())
        return true;
    if (!children.isArray())
        return false;
    for (const QJsonValue& child : children.toArray()) {
        if (!isWellTyped(child, depth + 1))
            return false;
    }
    return true;
}

RawDynamicMenuItem RawDynamicMenuItem::from(const QJsonValue& value) {
    const QJsonObject object = value.toObject();
    return RawDynamicMenuItem{
        JsonFieldReader::string(object, kId).optional(),
        JsonFieldReader::string(object, kTitle).optional(),
        JsonFieldReader::string(object, kCommand).optional(),
        JsonFieldReader::boolean(object, kEnabled).optional(),
        JsonFieldReader::boolean(object, kChecked).optional(),
        JsonFieldReader::array(object, kChildren).valueOr(QJsonArray()),
    };
}

std::optional<RawDynamicMenuFile> RawDynamicMenuFile::decode(const QByteArray& bytes) {
    const std::optional<QJsonObject> object = JsonFieldReader::parseObject(bytes);
    if (!object)
        return std::nullopt;
    const auto version = JsonFieldReader::integer(*object, QLatin1String("version"));
    const auto items = JsonFieldReader::array(*object, QLatin1String("items"));
    if (!version.isPresent() || !items.isPresent())
        return std::nullopt;
    for (const QJsonValue& item : items.value) {
        if (!RawDynamicMenuItem::isWellTyped(item, 0))
            return std::nullopt;
    }
    return RawDynamicMenuFile{version.value, items.value};
}

} // namespace ovrel
