#include "OvrelHub/storepane/StoreStatus.h"

#include "OvrelConfig/Loc.h"

namespace ovrel::StoreTileStatus {

using Kind = ModuleAction::Kind;

TileStatus tile(const ModuleAction& plan, bool installed, bool busy, AppLanguage language) {
    if (busy)
        return {TileStatus::Kind::caption, Loc::t(LocKey::appsInstalling, language)};
    switch (plan.kind()) {
    case Kind::update:
        return {TileStatus::Kind::update, Loc::t(LocKey::appsUpdate, language)};
    case Kind::install:
        return {TileStatus::Kind::install, Loc::t(LocKey::appsInstall, language)};
    case Kind::upToDate:
        return {TileStatus::Kind::caption, Loc::t(LocKey::appsInstalledSection, language)};
    default:
        return {TileStatus::Kind::caption, text(plan, installed, language)};
    }
}

QString text(const ModuleAction& plan, bool installed, AppLanguage language) {
    if (plan.kind() == Kind::incompatibleOS)
        return Loc::format(LocKey::appsNeedsMacOSFormat, language, {plan.requiredVersion()});
    return Loc::t(installed ? LocKey::appsInstalledSection : LocKey::appsNotInstalled, language);
}

DetailActions detail(const ModuleAction& plan, bool installed, bool busy, AppLanguage language) {
    DetailActions actions;
    if (busy) {
        actions.caption = Loc::t(LocKey::appsInstalling, language);
        return actions;
    }
    switch (plan.kind()) {
    case Kind::update:
        actions.caption =
            Loc::format(LocKey::appsUpdateAvailableFormat, language, {plan.latestVersion()});
        actions.update = true;
        actions.uninstall = true;
        break;
    case Kind::install:
        actions.install = true;
        break;
    case Kind::upToDate:
        actions.uninstall = true;
        break;
    case Kind::notAvailable:
        if (installed)
            actions.uninstall = true;
        else
            actions.caption = Loc::t(LocKey::appsNoReleaseYet, language);
        break;
    case Kind::incompatible:
        actions.caption =
            Loc::format(LocKey::appsNeedsNewerOvrelFormat, language, {plan.requiredVersion()});
        actions.uninstall = installed;
        break;
    case Kind::incompatibleOS:
        actions.caption =
            Loc::format(LocKey::appsNeedsMacOSFormat, language, {plan.requiredVersion()});
        actions.uninstall = installed;
        break;
    }
    return actions;
}

} // namespace ovrel::StoreTileStatus
