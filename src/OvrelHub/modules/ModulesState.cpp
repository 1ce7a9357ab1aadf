#include "OvrelHub/modules/ModulesState.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel {

namespace {

const QString kInstalled = QStringLiteral("installed");
const QString kAutoUpdate = QStringLiteral("autoUpdate");

// The "installed" member as a whole: one entry that fails makes it fail.
std::optional<std::map<QString, InstalledModule>> decodeInstalled(const QJsonValue& value,
                                                                  bool& intact) {
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    std::map<QString, InstalledModule> installed;
    for (auto it = object.begin(); it != object.end(); ++it) {
        std::optional<InstalledModule> module = InstalledModule::fromJson(it.value(), &intact);
        if (!module)
            return std::nullopt;
        installed.emplace(it.key(), std::move(*module));
    }
    return installed;
}

} // namespace

ModulesState::Decoded ModulesState::decode(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {ModulesState::empty(), false};
    const QJsonObject object = document.object();

    Decoded decoded;
    const QJsonValue installed = object.value(kInstalled);
    if (!installed.isUndefined() && !installed.isNull()) {
        if (auto map = decodeInstalled(installed, decoded.intact))
            decoded.state.installed = std::move(*map);
        else
            decoded.intact = false;
    }
    const QJsonValue autoUpdate = object.value(kAutoUpdate);
    if (autoUpdate.isBool())
        decoded.state.autoUpdate = autoUpdate.toBool();
    else if (!autoUpdate.isUndefined() && !autoUpdate.isNull())
        decoded.intact = false;
    return decoded;
}

QByteArray ModulesState::encode() const {
    QJsonObject modules;
    for (const auto& [id, module] : installed)
        modules.insert(id, module.toJson());
    QJsonObject object;
    object.insert(kInstalled, modules);
    object.insert(kAutoUpdate, autoUpdate);
    // QJsonObject keeps its keys sorted, so the document comes out ordered.
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

} // namespace ovrel
