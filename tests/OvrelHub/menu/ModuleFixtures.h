#pragma once

#include "OvrelHub/modules/InstalledPair.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel::test {

// An installed module "<id>" with the given menu commands (labels "<Label> <command>")
// and, optionally, a summary and dynamic commands.
inline InstalledPair installedModule(const QString& id, const QStringList& commands,
                                     const QString& summary = {},
                                     const QStringList& dynamicCommands = {}) {
    const QString summaryText = summary.isEmpty() ? "Summary of " + id : summary;
    QJsonArray menu;
    for (const QString& command : commands)
        menu.append(QJsonObject{
            {"command", command},
            {"label", QJsonObject{{"vi", "Nhãn " + command}, {"en", "Label " + command}}}});
    QJsonObject manifest{
        {"id", id},
        {"version", "1.0.0"},
        {"minHostVersion", "0.1.0"},
        {"name", QJsonObject{{"vi", "Tên " + id}, {"en", "Name " + id}}},
        {"summary", QJsonObject{{"vi", "Tóm tắt " + summaryText}, {"en", summaryText}}},
        {"menu", menu},
        {"settings", QJsonArray{}}};
    if (!dynamicCommands.isEmpty())
        manifest.insert("dynamicCommands", QJsonArray::fromStringList(dynamicCommands));
    InstalledModule module;
    module.id = id;
    module.version = "1.0.0";
    module.appName = id + ".app";
    return InstalledPair{module, ModuleManifest::load(QJsonDocument(manifest).toJson(), id)};
}

} // namespace ovrel::test
