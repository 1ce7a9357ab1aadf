#pragma once

#include "OvrelModuleKit/manifest/ManifestError.h"
#include "OvrelModuleKit/manifest/MenuEntry.h"
#include "OvrelModuleKit/manifest/ModuleMode.h"
#include "OvrelModuleKit/permissions/PermissionKind.h"
#include "OvrelModuleKit/settings/SettingGroup.h"
#include "OvrelModuleKit/settings/SettingSpec.h"
#include "OvrelModuleKit/text/LocalizedText.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

namespace ovrel {

struct RawModuleManifest;

// A module's validated manifest.json. The only way to get one is load(), so
// every holder can trust it: required languages present, limits kept, unique
// commands, keys and groups, defaults inside their settings' bounds.
class ModuleManifest {
public:
    // Limits; character counts are user-perceived characters.
    static constexpr qint64 kMaxSummaryLength = 300;
    static constexpr qint64 kMaxDescriptionLength = 4000;
    static constexpr qint64 kMaxLabelLength = 100;
    static constexpr qsizetype kMaxScreenshots = 8;
    static constexpr qsizetype kMaxMenuEntries = 10;
    static constexpr qsizetype kMaxSettings = 30;
    static constexpr qsizetype kMaxSettingGroups = 10;
    static constexpr qsizetype kMaxDynamicCommands = 30;

    // Largest manifest file readData() accepts.
    static constexpr qint64 kMaxFileSize = 8 * 1024 * 1024;

    // Decodes and validates; throws ManifestError for the first fault found.
    static ModuleManifest load(const QByteArray& data, const QString& expectedId);

    // The bytes of the manifest inside a bundle directory; none when the file is
    // missing, unreadable, not a regular file or larger than kMaxFileSize.
    static std::optional<QByteArray> readData(const QString& bundle);

    // One to three dot-separated pieces of ASCII digits: "14", "14.5", "14.5.1".
    static bool isValidMacOSVersion(const QString& version);

    const QString& id() const { return m_id; }
    const QString& version() const { return m_version; }
    const QString& minHostVersion() const { return m_minHostVersion; }
    const LocalizedText& name() const { return m_name; }
    const LocalizedText& summary() const { return m_summary; }
    const QList<MenuEntry>& menu() const { return m_menu; }
    const QList<SettingSpec>& settings() const { return m_settings; }
    ModuleMode mode() const { return m_mode; }
    const QList<SettingGroup>& settingGroups() const { return m_settingGroups; }
    const QStringList& dynamicCommands() const { return m_dynamicCommands; }
    const std::optional<LocalizedText>& description() const { return m_description; }
    const QStringList& screenshots() const { return m_screenshots; }
    bool quickAccessDefault() const { return m_quickAccessDefault; }
    bool openWindowOnLaunch() const { return m_openWindowOnLaunch; }
    const QList<PermissionKind>& permissions() const { return m_permissions; }
    const std::optional<QString>& minMacOS() const { return m_minMacOS; }

    bool operator==(const ModuleManifest& other) const = default;

private:
    ModuleManifest() = default;
    static ModuleManifest validated(RawModuleManifest raw, const QString& expectedId);

    QString m_id;
    QString m_version;
    QString m_minHostVersion;
    LocalizedText m_name;
    LocalizedText m_summary;
    QList<MenuEntry> m_menu;
    QList<SettingSpec> m_settings;
    ModuleMode m_mode = ModuleMode::onDemand;
    QList<SettingGroup> m_settingGroups;
    QStringList m_dynamicCommands;
    std::optional<LocalizedText> m_description;
    QStringList m_screenshots;
    bool m_quickAccessDefault = false;
    bool m_openWindowOnLaunch = true;
    QList<PermissionKind> m_permissions;
    std::optional<QString> m_minMacOS;
};

} // namespace ovrel
