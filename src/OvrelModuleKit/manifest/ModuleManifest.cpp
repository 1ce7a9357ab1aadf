#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include "OvrelModuleKit/json/JsonDecodingError.h"
#include "OvrelModuleKit/json/JsonReader.h"
#include "OvrelModuleKit/manifest/RawModuleManifest.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "OvrelModuleKit/text/Graphemes.h"
#include "Platform/files/BoundedFile.h"

#include <QSet>

namespace ovrel {

namespace {

using Kind = ManifestError::Kind;

void requireLanguages(const LocalizedText& text, const QString& path) {
    if (!text.hasRequiredLanguages())
        throw ManifestError(Kind::missingRequiredLanguage, path);
}

void requireLabel(const LocalizedText& label, const QString& languagePath,
                  const QString& lengthPayload) {
    requireLanguages(label, languagePath);
    if (!label.fitsWithin(ModuleManifest::kMaxLabelLength))
        throw ManifestError(Kind::labelTooLong, lengthPayload);
}

ModuleMode resolveMode(const std::optional<QString>& raw) {
    if (!raw)
        return ModuleMode::onDemand;
    const std::optional<ModuleMode> mode = moduleModeFromRawValue(*raw);
    if (!mode)
        throw ManifestError(Kind::invalidMode, *raw);
    return *mode;
}

void checkTexts(const RawModuleManifest& raw) {
    requireLanguages(raw.name, QStringLiteral("name"));
    requireLanguages(raw.summary, QStringLiteral("summary"));
    if (!raw.summary.fitsWithin(ModuleManifest::kMaxSummaryLength))
        throw ManifestError(Kind::summaryTooLong);
    if (raw.description) {
        requireLanguages(*raw.description, QStringLiteral("description"));
        if (!raw.description->fitsWithin(ModuleManifest::kMaxDescriptionLength))
            throw ManifestError(Kind::descriptionTooLong);
    }
}

void checkScreenshots(const QStringList& screenshots) {
    if (screenshots.size() > ModuleManifest::kMaxScreenshots)
        throw ManifestError(Kind::tooManyScreenshots);
    for (const QString& url : screenshots) {
        if (!url.startsWith(u"https://", Qt::CaseSensitive))
            throw ManifestError(Kind::insecureScreenshotURL, url);
    }
}

void checkMenu(const QList<MenuEntry>& menu) {
    QSet<QString> seen;
    for (const MenuEntry& entry : menu) {
        if (seen.contains(entry.command))
            throw ManifestError(Kind::duplicateCommand, entry.command);
        seen.insert(entry.command);
        requireLabel(entry.label,
                     QStringLiteral("menu.") + entry.command + QStringLiteral(".label"),
                     entry.command);
    }
}

QSet<QString> checkGroups(const QList<SettingGroup>& groups) {
    if (groups.size() > ModuleManifest::kMaxSettingGroups)
        throw ManifestError(Kind::tooManySettingGroups);
    QSet<QString> ids;
    for (const SettingGroup& group : groups) {
        if (ids.contains(group.id))
            throw ManifestError(Kind::duplicateSettingGroup, group.id);
        ids.insert(group.id);
        const QString path = QStringLiteral("settingGroups.") + group.id;
        requireLabel(group.label, path + QStringLiteral(".label"), path);
    }
    return ids;
}

bool defaultFits(const SettingSpec& setting) {
    switch (setting.kind()) {
    case SettingSpec::Kind::boolean:
        return true;
    case SettingSpec::Kind::integer: {
        const IntSpec& s = std::get<IntSpec>(setting.variant());
        return s.min <= s.max && s.min <= s.defaultValue && s.defaultValue <= s.max;
    }
    case SettingSpec::Kind::enumeration: {
        const EnumSpec& s = std::get<EnumSpec>(setting.variant());
        if (s.options.isEmpty())
            throw ManifestError(Kind::emptyOptions, s.key);
        for (const EnumOption& option : s.options) {
            if (option.value == s.defaultValue)
                return true;
        }
        throw ManifestError(Kind::defaultNotInOptions, s.key);
    }
    case SettingSpec::Kind::string: {
        const StringSpec& s = std::get<StringSpec>(setting.variant());
        return Graphemes::atMost(s.defaultValue, s.maxLength);
    }
    }
    return false;
}

void checkSettings(const QList<SettingSpec>& settings, const QSet<QString>& groupIds) {
    QSet<QString> keys;
    for (const SettingSpec& setting : settings) {
        const QString& key = setting.key();
        if (keys.contains(key))
            throw ManifestError(Kind::duplicateKey, key);
        keys.insert(key);
        if (setting.group() && !groupIds.contains(*setting.group()))
            throw ManifestError(Kind::unknownSettingGroup, *setting.group());
        requireLabel(setting.label(), QStringLiteral("settings.") + key + QStringLiteral(".label"),
                     key);
        if (!defaultFits(setting))
            throw ManifestError(Kind::defaultOutOfRange, key);
    }
}

QList<PermissionKind> resolvePermissions(const QStringList& names) {
    QList<PermissionKind> kinds;
    QSet<QString> seen;
    for (const QString& name : names) {
        if (seen.contains(name))
            throw ManifestError(Kind::duplicatePermission, name);
        seen.insert(name);
        const std::optional<PermissionKind> kind = permissionKindFromRawValue(name);
        if (!kind)
            throw ManifestError(Kind::invalidJSON);
        kinds.append(*kind);
    }
    return kinds;
}

} // namespace

ModuleManifest ModuleManifest::load(const QByteArray& data, const QString& expectedId) {
    const std::optional<JsonValue> json = JsonReader::parse(data);
    if (!json)
        throw ManifestError(Kind::invalidJSON);
    RawModuleManifest raw;
    try {
        raw = RawModuleManifest::decode(*json);
    } catch (const JsonDecodingError&) {
        throw ManifestError(Kind::invalidJSON);
    }
    return validated(std::move(raw), expectedId);
}

ModuleManifest ModuleManifest::validated(RawModuleManifest raw, const QString& expectedId) {
    if (raw.id != expectedId)
        throw ManifestError(Kind::idMismatch);
    const ModuleMode mode = resolveMode(raw.mode);
    checkTexts(raw);
    const QStringList screenshots = raw.screenshots.value_or(QStringList());
    checkScreenshots(screenshots);
    if (!raw.name.fitsWithin(kMaxLabelLength))
        throw ManifestError(Kind::labelTooLong, QStringLiteral("name"));
    if (raw.menu.size() > kMaxMenuEntries)
        throw ManifestError(Kind::tooManyMenuEntries);
    if (raw.settings.size() > kMaxSettings)
        throw ManifestError(Kind::tooManySettings);
    checkMenu(raw.menu);
    const QList<SettingGroup> groups = raw.settingGroups.value_or(QList<SettingGroup>());
    checkSettings(raw.settings, checkGroups(groups));
    const QStringList dynamicCommands = raw.dynamicCommands.value_or(QStringList());
    if (dynamicCommands.size() > kMaxDynamicCommands)
        throw ManifestError(Kind::tooManyDynamicCommands);
    QList<PermissionKind> permissions = resolvePermissions(raw.permissions.value_or(QStringList()));
    if (raw.minMacOS && !isValidMacOSVersion(*raw.minMacOS))
        throw ManifestError(Kind::invalidMinMacOS, *raw.minMacOS);

    ModuleManifest m;
    m.m_id = std::move(raw.id);
    m.m_version = std::move(raw.version);
    m.m_minHostVersion = std::move(raw.minHostVersion);
    m.m_name = std::move(raw.name);
    m.m_summary = std::move(raw.summary);
    m.m_menu = std::move(raw.menu);
    m.m_settings = std::move(raw.settings);
    m.m_mode = mode;
    m.m_settingGroups = groups;
    m.m_dynamicCommands = dynamicCommands;
    m.m_description = std::move(raw.description);
    m.m_screenshots = screenshots;
    m.m_quickAccessDefault = raw.quickAccessDefault.value_or(false);
    m.m_openWindowOnLaunch = raw.openWindowOnLaunch.value_or(mode == ModuleMode::onDemand);
    m.m_permissions = std::move(permissions);
    m.m_minMacOS = std::move(raw.minMacOS);
    return m;
}

std::optional<QByteArray> ModuleManifest::readData(const QString& bundle) {
    BoundedFile::ReadResult file =
        BoundedFile::read(ModulePaths::manifestFile(bundle), kMaxFileSize);
    if (file.status != BoundedFile::ReadResult::Status::ok)
        return std::nullopt;
    return std::move(file.bytes);
}

bool ModuleManifest::isValidMacOSVersion(const QString& version) {
    const QStringList pieces = version.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    if (pieces.size() < 1 || pieces.size() > 3)
        return false;
    for (const QString& piece : pieces) {
        if (piece.isEmpty())
            return false;
        for (const QChar c : piece) {
            if (c < u'0' || c > u'9')
                return false;
        }
    }
    return true;
}

} // namespace ovrel
