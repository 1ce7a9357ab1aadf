#include "OvrelHub/account/ModuleSettingsSyncStream.h"

#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "Platform/system/SystemLog.h"

#include <limits>

namespace ovrel::ModuleSettingsSyncStream {

namespace {

std::optional<SettingValue> settingValue(const QJsonValue& value) {
    if (value.isBool())
        return SettingValue::fromBool(value.toBool());
    if (value.isDouble()) {
        constexpr qint64 noInteger = std::numeric_limits<qint64>::min();
        const qint64 integer = value.toInteger(noInteger);
        if (integer == noInteger)
            return std::nullopt;
        return SettingValue::fromInt(integer);
    }
    if (value.isString())
        return SettingValue::fromString(value.toString());
    return std::nullopt;
}

} // namespace

SyncStream make(const ModulePaths& paths) {
    SyncStream stream;
    stream.key = QStringLiteral("moduleSettings");
    stream.snapshot = [paths] {
        return QJsonValue(render(ModuleSettingsSyncPayload::snapshot(paths)));
    };
    stream.apply = [paths](const QJsonValue& payload) { apply(payload, paths); };
    stream.statusLabel = LocKey::moduleSettingsLabel;
    stream.emptyPayload = [] { return QJsonValue(QJsonObject()); };
    stream.platformScoped = true;
    return stream;
}

QJsonObject render(const ModuleSettingsPayload& payload) {
    QJsonObject modules;
    for (auto module = payload.cbegin(); module != payload.cend(); ++module) {
        QJsonObject settings;
        for (auto it = module->cbegin(); it != module->cend(); ++it)
            settings.insert(it.key(), it->toQJsonValue());
        modules.insert(module.key(), settings);
    }
    return modules;
}

std::optional<ModuleSettingsPayload> parse(const QJsonValue& payload) {
    if (!payload.isObject())
        return std::nullopt;
    ModuleSettingsPayload parsed;
    const QJsonObject modules = payload.toObject();
    for (auto module = modules.begin(); module != modules.end(); ++module) {
        if (!module->isObject())
            continue;
        SettingsMap values;
        const QJsonObject settings = module->toObject();
        for (auto it = settings.begin(); it != settings.end(); ++it) {
            if (const auto value = settingValue(it.value()))
                values.insert(it.key(), *value);
        }
        parsed.insert(module.key(), values);
    }
    return parsed;
}

void apply(const QJsonValue& payload, const ModulePaths& paths) {
    const auto parsed = parse(payload);
    if (!parsed)
        return;
    const ModuleSettingsStore store(paths);
    for (const auto& [id, values] : ModuleSettingsSyncPayload::plan(*parsed)) {
        // Unchanged settings are not rewritten, so their module is not woken.
        if (ModuleSettingsStore::readFile(paths.settingsFile(id)) == values)
            continue;
        try {
            store.save(values, id);
        } catch (const FileError& e) {
            SystemLog::write(QStringLiteral("Ovrel: không ghi được cài đặt đồng bộ của ") + id +
                             QStringLiteral(": ") + e.description());
        }
    }
}

} // namespace ovrel::ModuleSettingsSyncStream
