#include "OvrelHub/modules/ModulesState.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel {

namespace {

const QString kInstalled = QStringLiteral("installed");
const QString kAutoUpdate = QStringLiteral("autoUpdate");

// The "installed" member entry by entry: an entry that fails is left out
// (and named in `dropped`) while the others stay.
std::optional<std::map<QString, InstalledModule>>
decodeInstalled(const QJsonValue& value, bool& intact, QStringList& dropped) {
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    std::map<QString, InstalledModule> installed;
    for (auto it = object.begin(); it != object.end(); ++it) {
        std::optional<InstalledModule> module = InstalledModule::fromJson(it.value(), &intact);
        if (!module) {
            intact = false;
            dropped.append(it.key());
            continue;
        }
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
        return {ModulesState::empty(), false, {}};
    const QJsonObject object = document.object();

    Decoded decoded;
    const QJsonValue installed = object.value(kInstalled);
    if (!installed.isUndefined() && !installed.isNull()) {
        if (auto map = decodeInstalled(installed, decoded.intact, decoded.droppedIds))
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
