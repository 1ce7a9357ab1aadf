#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/modules/InstalledModule.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "OvrelModuleKit/permissions/PermissionStatusFile.h"

#include <QList>
#include <functional>
#include <map>

namespace ovrel {

// The permissions overview: per installed module that declares permissions
// (ascending ids), one row per declared permission in manifest order with the
// status the module last reported (undetermined when it did not).
namespace PermissionOverviewBuilder {

struct Row {
    PermissionKind kind;
    PermissionStatus status;
    bool operator==(const Row&) const = default;
};

struct Group {
    QString moduleId;
    QString moduleName;
    QList<Row> rows;
    bool operator==(const Group&) const = default;
};

using StatusReader = std::function<PermissionStatusFile::Statuses(
    const QString& moduleId, const std::vector<PermissionKind>& declared)>;

QList<Group> items(const std::map<QString, InstalledModule>& installed,
                   const std::map<QString, ModuleManifest>& manifests, AppLanguage language,
                   const StatusReader& statusReader);

} // namespace PermissionOverviewBuilder

} // namespace ovrel
