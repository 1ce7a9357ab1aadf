#include "OvrelHub/store/CatalogDecoder.h"

#include "OvrelModuleKit/json/JsonReader.h"

namespace ovrel {

namespace {

// Thrown inside the decoder only; decode() turns it into "undecodable".
struct Undecodable {};

const JsonValue& object(const JsonValue& value) {
    if (!value.isObject())
        throw Undecodable();
    return value;
}

// A member that must be present; null counts as missing.
const JsonValue& required(const JsonValue& owner, QStringView key) {
    const JsonValue* value = owner.member(key);
    if (!value || value->isNull())
        throw Undecodable();
    return *value;
}

const JsonValue* optional(const JsonValue& owner, QStringView key) {
    const JsonValue* value = owner.member(key);
    return value && !value->isNull() ? value : nullptr;
}

QString string(const JsonValue& value) {
    if (!value.isString())
        throw Undecodable();
    return value.toString();
}

std::optional<QString> optionalString(const JsonValue& owner, QStringView key) {
    const JsonValue* value = optional(owner, key);
    return value ? std::optional<QString>(string(*value)) : std::nullopt;
}

CatalogTexts texts(const JsonValue& value) {
    CatalogTexts result;
    for (const auto& [language, text] : object(value).toObject())
        result.insert(language, string(text));
    return result;
}

CatalogRelease release(const JsonValue& value) {
    object(value);
    CatalogRelease result;
    result.version = string(required(value, u"version"));
    result.zipUrl = optionalString(value, u"zipUrl");
    result.sha256 = string(required(value, u"sha256"));
    const std::optional<qint64> size = required(value, u"sizeBytes").toInteger();
    if (!size)
        throw Undecodable();
    result.sizeBytes = *size;
    result.minHostVersion = string(required(value, u"minHostVersion"));
    result.minMacOS = optionalString(value, u"minMacOS");
    return result;
}

CatalogEntry entry(const JsonValue& value) {
    object(value);
    CatalogEntry result;
    result.id = string(required(value, u"id"));
    result.name = texts(required(value, u"name"));
    result.summary = texts(required(value, u"summary"));
    result.iconUrl = optionalString(value, u"iconUrl");
    if (const JsonValue* latest = optional(value, u"latest"))
        result.latest = release(*latest);
    if (const JsonValue* incompatible = optional(value, u"incompatible"))
        result.incompatible =
            CatalogIncompatible{string(required(object(*incompatible), u"minHostVersion"))};
    if (const JsonValue* description = optional(value, u"description"))
        result.description = texts(*description);
    if (const JsonValue* screenshots = optional(value, u"screenshots")) {
        if (!screenshots->isArray())
            throw Undecodable();
        QStringList urls;
        for (const JsonValue& url : screenshots->toArray())
            urls.append(string(url));
        result.screenshots = urls;
    }
    return result;
}

} // namespace

std::optional<QList<CatalogEntry>> CatalogDecoder::decode(QByteArrayView body) {
    const std::optional<JsonValue> document = JsonReader::parse(body);
    if (!document || !document->isArray())
        return std::nullopt;
    try {
        QList<CatalogEntry> entries;
        entries.reserve(static_cast<qsizetype>(document->toArray().size()));
        for (const JsonValue& value : document->toArray())
            entries.append(entry(value));
        return entries;
    } catch (const Undecodable&) {
        return std::nullopt;
    }
}

} // namespace ovrel
