#include "OvrelHub/modules/ModulesState.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

ModulesState::Decoded decode(const char* json) {
    return ModulesState::decode(QByteArray(json));
}

// One complete entry, then `field` replaced by `value` (or removed when empty).
QByteArray entryWith(const QString& field, const char* value) {
    QJsonObject entry = QJsonDocument::fromJson(R"({
        "id": "clock", "version": "1.2.0", "appName": "Clock.app",
        "shortcutEnabled": true,
        "hotkeys": {"open": {"keycode": 40, "control": false, "shift": true, "option": false, "command": true}},
        "shortcutLinkName": "Clock",
        "residentEnabled": false,
        "clearedHotkeys": ["show"],
        "quickAccessEnabled": true
    })")
                            .object();
    entry.remove(field);
    QByteArray bytes = QJsonDocument(QJsonObject{{"installed", QJsonObject{{"clock", entry}}},
                                                 {"autoUpdate", false}})
                           .toJson(QJsonDocument::Compact);
    if (*value) {
        const QByteArray insertion = "\"" + field.toUtf8() + "\":" + QByteArray(value) + ",";
        bytes.replace("{\"appName\"", "{" + insertion + "\"appName\"");
    }
    return bytes;
}

InstalledModule fullClock() {
    InstalledModule m;
    m.id = "clock";
    m.version = "1.2.0";
    m.appName = "Clock.app";
    m.shortcutEnabled = true;
    m.hotkeys = {{"open", Hotkey(40, false, true, false, true)}};
    m.shortcutLinkName = "Clock";
    m.residentEnabled = false;
    m.clearedHotkeys = {"show"};
    m.quickAccessEnabled = true;
    return m;
}

} // namespace

TEST(ModulesStateDecoding, MissingMembersTakeTheirDefaults) {
    const auto d = decode(R"({"installed": {}})");
    EXPECT_TRUE(d.state.autoUpdate);
    EXPECT_TRUE(d.state.installed.empty());
    EXPECT_TRUE(d.intact);

    const auto minimal = decode(
        R"({"installed": {"clock": {"id": "clock", "version": "1", "appName": "Clock.app"}}})");
    ASSERT_EQ(minimal.state.installed.size(), 1u);
    const InstalledModule& m = minimal.state.installed.at("clock");
    EXPECT_FALSE(m.shortcutEnabled);
    EXPECT_TRUE(m.hotkeys.empty());
    EXPECT_EQ(m.shortcutLinkName, std::nullopt);
    EXPECT_TRUE(m.residentEnabled);
    EXPECT_TRUE(m.clearedHotkeys.empty());
    EXPECT_FALSE(m.quickAccessEnabled);
    EXPECT_TRUE(minimal.intact);
}

TEST(ModulesStateDecoding, EachOptionalFieldFallsBackOnItsOwn) {
    struct Case {
        const char* field;
        const char* value;
        std::function<void(InstalledModule&)> expectedChange;
    };
    const Case cases[] = {
        {"shortcutEnabled", R"("yes")", [](InstalledModule& m) { m.shortcutEnabled = false; }},
        {"hotkeys", R"([1])", [](InstalledModule& m) { m.hotkeys.clear(); }},
        // One malformed hotkey empties the whole map.
        {"hotkeys",
         R"({"a": {"keycode": 1, "control": true, "shift": false, "option": false, "command": false}, "b": {"keycode": 1.5, "control": true, "shift": false, "option": false, "command": false}})",
         [](InstalledModule& m) { m.hotkeys.clear(); }},
        {"shortcutLinkName", "7", [](InstalledModule& m) { m.shortcutLinkName.reset(); }},
        {"residentEnabled", R"("false")", [](InstalledModule& m) { m.residentEnabled = true; }},
        {"clearedHotkeys", R"(["a", 2])", [](InstalledModule& m) { m.clearedHotkeys.clear(); }},
        {"clearedHotkeys", R"("a")", [](InstalledModule& m) { m.clearedHotkeys.clear(); }},
        {"quickAccessEnabled", "1", [](InstalledModule& m) { m.quickAccessEnabled = false; }},
    };
    for (const Case& c : cases) {
        const auto d = ModulesState::decode(entryWith(c.field, c.value));
        InstalledModule expected = fullClock();
        c.expectedChange(expected);
        ASSERT_EQ(d.state.installed.count("clock"), 1u) << c.field;
        EXPECT_EQ(d.state.installed.at("clock"), expected) << c.field << " = " << c.value;
        EXPECT_FALSE(d.state.autoUpdate) << c.field;
        EXPECT_FALSE(d.intact) << c.field;
    }
}

TEST(ModulesStateDecoding, AbsentNullAndUnknownMembersLoseNothing) {
    for (const char* field : {"shortcutEnabled", "hotkeys", "shortcutLinkName", "residentEnabled",
                              "clearedHotkeys", "quickAccessEnabled"}) {
        for (const char* value : {"", "null"}) {
            const auto d = ModulesState::decode(entryWith(field, value));
            ASSERT_EQ(d.state.installed.size(), 1u) << field;
            EXPECT_EQ(d.state.installed.at("clock").id, "clock");
            EXPECT_TRUE(d.intact) << field << " = " << value;
        }
    }
    const auto unknown = decode(R"({"installed": {}, "autoUpdate": false, "future": [1, 2]})");
    EXPECT_FALSE(unknown.state.autoUpdate);
    EXPECT_TRUE(unknown.intact);
    EXPECT_TRUE(decode(R"({"autoUpdate": null, "installed": null})").intact);
    EXPECT_EQ(ModulesState::decode(entryWith("future", R"({"x": 1})")).state.installed.at("clock"),
              fullClock());
}

TEST(ModulesStateDecoding, OneEntryWithoutARequiredFieldIsDroppedAlone) {
    for (const char* field : {"id", "version", "appName"}) {
        for (const char* value : {"", "null", "3", R"(["x"])"}) {
            QByteArray bytes = entryWith(field, value);
            bytes.replace(
                "\"installed\":{",
                R"("installed":{"alarm":{"id":"alarm","version":"1","appName":"Alarm.app"},)");
            const auto d = ModulesState::decode(bytes);
            ASSERT_EQ(d.state.installed.size(), 1u) << field << " = " << value;
            EXPECT_EQ(d.state.installed.begin()->second.appName, "Alarm.app");
            EXPECT_EQ(d.droppedIds, QStringList{"clock"});
            EXPECT_FALSE(d.state.autoUpdate) << "autoUpdate is read on its own";
            EXPECT_FALSE(d.intact);
        }
    }
    const auto notObject = decode(R"({"installed": {"clock": "Clock.app"}, "autoUpdate": false})");
    EXPECT_TRUE(notObject.state.installed.empty());
    EXPECT_EQ(notObject.droppedIds, QStringList{"clock"});
    EXPECT_FALSE(notObject.state.autoUpdate);
    EXPECT_FALSE(notObject.intact);
}

TEST(ModulesStateDecoding, MistypedTopLevelMembers) {
    const auto installed = decode(R"({"installed": [], "autoUpdate": false})");
    EXPECT_TRUE(installed.state.installed.empty());
    EXPECT_FALSE(installed.state.autoUpdate);
    EXPECT_FALSE(installed.intact);

    const auto autoUpdate = decode(
        R"({"installed": {"a": {"id": "a", "version": "1", "appName": "A.app"}}, "autoUpdate": "no"})");
    EXPECT_EQ(autoUpdate.state.installed.size(), 1u);
    EXPECT_TRUE(autoUpdate.state.autoUpdate);
    EXPECT_FALSE(autoUpdate.intact);
}

TEST(ModulesStateDecoding, AnythingButAnObjectIsTheEmptyState) {
    for (const char* bytes : {"[]", "true", "\"installed\"", "{", "{\"installed\": {}",
                              "\xff\xfe{}", "{\"autoUpdate\": false} x"}) {
        const auto d = decode(bytes);
        EXPECT_EQ(d.state, ModulesState::empty()) << bytes;
        EXPECT_FALSE(d.intact) << bytes;
    }
    const auto nothing = decode("");
    EXPECT_EQ(nothing.state, ModulesState::empty());
    EXPECT_TRUE(nothing.intact);
    EXPECT_TRUE(ModulesState::empty().autoUpdate);
}

TEST(ModulesStateDecoding, MapKeyIsKeptApartFromTheRecordedId) {
    const auto d =
        decode(R"({"installed": {"clock": {"id": "other", "version": "1", "appName": "C.app"}}})");
    ASSERT_EQ(d.state.installed.count("clock"), 1u);
    EXPECT_EQ(d.state.installed.at("clock").id, "other");
    EXPECT_EQ(ModulesState::decode(d.state.encode()).state, d.state);
}

TEST(ModulesStateEncoding, PrettyPrintedWithKeysInAscendingOrder) {
    ModulesState state;
    state.autoUpdate = false;
    InstalledModule clock = fullClock();
    clock.hotkeys.emplace("alarm", Hotkey(qint64(1) << 40, true, false, false, false));
    clock.clearedHotkeys = {"zeta", "alpha"};
    state.installed.emplace("clock", clock);
    InstalledModule alarm;
    alarm.id = "alarm";
    alarm.version = "0.1";
    alarm.appName = "Alarm.app";
    state.installed.emplace("alarm", alarm);

    const QByteArray expected = R"({
    "autoUpdate": false,
    "installed": {
        "alarm": {
            "appName": "Alarm.app",
            "clearedHotkeys": [
            ],
            "hotkeys": {
            },
            "id": "alarm",
            "quickAccessEnabled": false,
            "residentEnabled": true,
            "shortcutEnabled": false,
            "version": "0.1"
        },
        "clock": {
            "appName": "Clock.app",
            "clearedHotkeys": [
                "alpha",
                "zeta"
            ],
            "hotkeys": {
                "alarm": {
                    "command": false,
                    "control": true,
                    "keycode": 1099511627776,
                    "option": false,
                    "shift": false
                },
                "open": {
                    "command": true,
                    "control": false,
                    "keycode": 40,
                    "option": false,
                    "shift": true
                }
            },
            "id": "clock",
            "quickAccessEnabled": true,
            "residentEnabled": false,
            "shortcutEnabled": true,
            "shortcutLinkName": "Clock",
            "version": "1.2.0"
        }
    }
}
)";
    EXPECT_EQ(state.encode(), expected);
    const auto back = ModulesState::decode(state.encode());
    EXPECT_EQ(back.state, state);
    EXPECT_TRUE(back.intact);
}

TEST(ModulesStateEncoding, NoLinkNameKeyWithoutALinkName) {
    ModulesState state;
    InstalledModule m = fullClock();
    m.shortcutLinkName.reset();
    state.installed.emplace("clock", m);
    EXPECT_FALSE(state.encode().contains("shortcutLinkName"));
    m.shortcutLinkName = QString();
    state.installed["clock"] = m;
    EXPECT_TRUE(state.encode().contains("\"shortcutLinkName\": \"\""));
    EXPECT_EQ(ModulesState::decode(state.encode()).state, state);
}
