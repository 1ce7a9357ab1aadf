#pragma once

#include "../../OvrelModuleKit/ManifestFixture.h"
#include "FakeWorkspace.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/runner/ModuleCommandRef.h"
#include "OvrelHub/settings/SettingsServices.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "Platform/desktop/LoginItem.h"
#include "Platform/notify/NotificationCenter.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QFuture>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>
#include <gtest/gtest.h>

namespace ovrel::test {

// Records the commands the settings send to modules; a test may answer them.
struct RecordingRunner : ModuleCommandSending {
    struct Sent {
        QString command;
        std::optional<QString> argument;
        QString moduleId;
    };
    void send(const QString& command, const std::optional<QString>& argument,
              const QString& moduleId) override {
        sent.append({command, argument, moduleId});
        if (onSend)
            onSend(sent.last());
    }
    QList<Sent> sent;
    std::function<void(const Sent&)> onSend;
};

// Clicks a check box where its indicator is (its middle may be empty space).
inline void clickSwitch(QAbstractButton* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// A manifest for settings tests: "Clock" with two commands, settings of all
// four kinds (two of them in group "look"), optionally resident and with
// declared permissions.
inline QJsonObject settingsManifestJson(const QString& id, bool resident = false,
                                        const QStringList& permissions = {}) {
    QJsonObject manifest = minimalManifest();
    manifest["id"] = id;
    manifest["name"] = texts("Đồng hồ " + id, "Clock " + id);
    manifest["menu"] = QJsonArray{menuEntry("show", texts("Hiện", "Show")),
                                  menuEntry("hide", texts("Ẩn", "Hide"))};
    QJsonObject size = intSetting("size", 3, 1, 5);
    size["group"] = "look";
    QJsonObject style = enumSetting("style", "digital", {"analog", "digital"});
    style["group"] = "look";
    manifest["settings"] =
        QJsonArray{boolSetting("seconds", true), size, style, stringSetting("format", "HH", 4)};
    manifest["settingGroups"] =
        QJsonArray{QJsonObject{{"id", "look"}, {"label", texts("Giao diện", "Look")}}};
    if (resident)
        manifest["mode"] = "resident";
    if (!permissions.isEmpty())
        manifest["permissions"] = QJsonArray::fromStringList(permissions);
    return manifest;
}

// Throw-away module tree, hub defaults and autostart folder, with the
// services the settings window needs.
class SettingsFixture : public ::testing::Test {
protected:
    SettingsFixture() {
        qputenv("XDG_CONFIG_HOME", dir.file("config").toUtf8());
        HubSettings::reservedHotkeysProvider = [] { return std::vector<Hotkey>{}; };
    }
    ~SettingsFixture() override { qputenv("XDG_CONFIG_HOME", savedConfigHome); }

    // Records the module as installed and makes its manifest known.
    void install(const QString& id, const std::optional<QJsonObject>& manifest,
                 std::function<void(InstalledModule&)> adjust = {}) {
        InstalledModule module;
        module.id = id;
        module.version = "1.2.3";
        module.appName = id + ".app";
        if (adjust)
            adjust(module);
        state.update([&module](ModulesState& s) { s.installed[module.id] = module; });
        if (manifest)
            pairs.append({module, ModuleManifest::load(toBytes(*manifest), id)});
    }

    SettingsServices& services() { return m_services; }

    QByteArray savedConfigHome = qgetenv("XDG_CONFIG_HOME");
    TempDir dir;
    ModulePaths paths{dir.file("root")};
    ModuleStateStore state{paths};
    ModuleSettingsStore moduleSettings{paths};
    UserDefaults defaults{QStringLiteral("vn.ovrel.lite"), dir.file("defaults")};
    HubSettings settings{defaults, NotificationCenter::defaultCenter(),
                         [] { return AppLanguage::en; }};
    FakeWorkspace workspace;
    XdgAutostartLoginItem loginItem{QStringLiteral("vn.ovrel.lite"), QStringLiteral("Ovrel Lite"),
                                    QStringLiteral("/bin/true")};
    RecordingRunner runner;
    QList<InstalledPair> pairs;
    QList<UpdateRelease> whatsNewShown;
    int moduleSettingsChanges = 0;

private:
    SettingsServices m_services{
        settings,
        NotificationCenter::defaultCenter(),
        workspace,
        state,
        moduleSettings,
        loginItem,
        [this] { return QtFuture::makeReadyFuture(pairs); },
        [this]() -> ModuleCommandSending* { return &runner; },
        {},
        [this](const UpdateRelease& release) { whatsNewShown.append(release); },
        [this] { ++moduleSettingsChanges; },
        nullptr,
        nullptr,
        nullptr,
        QStringLiteral("1.0.0")};
};

} // namespace ovrel::test
