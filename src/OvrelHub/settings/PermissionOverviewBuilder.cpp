#include "OvrelHub/settings/PermissionOverviewBuilder.h"

#include "OvrelHub/settings/ModuleDisplayName.h"

namespace ovrel {

QList<PermissionOverviewBuilder::Group>
PermissionOverviewBuilder::items(const std::map<QString, InstalledModule>& installed,
                                 const std::map<QString, ModuleManifest>& manifests,
                                 AppLanguage language, const StatusReader& statusReader) {
    QList<Group> groups;
    for (const auto& [id, module] : installed) {
        const auto manifest = manifests.find(id);
        if (manifest == manifests.end() || manifest->second.permissions().isEmpty())
            continue;
        const QList<PermissionKind>& declared = manifest->second.permissions();
        const PermissionStatusFile::Statuses statuses =
            statusReader(id, std::vector<PermissionKind>(declared.begin(), declared.end()));
        Group group{id, moduleDisplayName(id, &manifest->second, language), {}};
        for (PermissionKind kind : declared) {
            const auto status = statuses.find(kind);
            group.rows.append(
                {kind, status == statuses.end() ? PermissionStatus::undetermined : status->second});
        }
        groups.append(group);
    }
    return groups;
}

} // namespace ovrel
