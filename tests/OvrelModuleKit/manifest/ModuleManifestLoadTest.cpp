#include "ManifestFixture.h"

#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;
using Kind = ManifestError::Kind;

TEST(ModuleManifestLoad, MinimalManifestGetsTheDocumentedDefaults) {
    const ModuleManifest m = ModuleManifest::load(toBytes(minimalManifest()), "clock");
    EXPECT_EQ(m.id(), "clock");
    EXPECT_EQ(m.version(), "1.0.0");
    EXPECT_EQ(m.minHostVersion(), "0.1.0");
    EXPECT_EQ(m.name().text("en"), "Clock");
    EXPECT_EQ(m.summary().text("vi"), "Xem giờ");
    EXPECT_TRUE(m.menu().isEmpty());
    EXPECT_TRUE(m.settings().isEmpty());
    EXPECT_EQ(m.mode(), ModuleMode::onDemand);
    EXPECT_TRUE(m.settingGroups().isEmpty());
    EXPECT_TRUE(m.dynamicCommands().isEmpty());
    EXPECT_FALSE(m.description().has_value());
    EXPECT_TRUE(m.screenshots().isEmpty());
    EXPECT_FALSE(m.quickAccessDefault());
    EXPECT_TRUE(m.openWindowOnLaunch());
    EXPECT_TRUE(m.permissions().isEmpty());
    EXPECT_FALSE(m.minMacOS().has_value());
}

TEST(ModuleManifestLoad, OpenWindowOnLaunchDefaultFollowsTheMode) {
    QJsonObject resident = minimalManifest();
    resident["mode"] = "resident";
    EXPECT_FALSE(ModuleManifest::load(toBytes(resident), "clock").openWindowOnLaunch());
    resident["openWindowOnLaunch"] = true;
    EXPECT_TRUE(ModuleManifest::load(toBytes(resident), "clock").openWindowOnLaunch());

    QJsonObject onDemand = minimalManifest();
    onDemand["mode"] = "onDemand";
    onDemand["openWindowOnLaunch"] = false;
    const ModuleManifest m = ModuleManifest::load(toBytes(onDemand), "clock");
    EXPECT_EQ(m.mode(), ModuleMode::onDemand);
    EXPECT_FALSE(m.openWindowOnLaunch());
}

TEST(ModuleManifestLoad, KeepsEveryDeclaredFieldInOrder) {
    QJsonObject j = minimalManifest();
    j["mode"] = "resident";
    j["menu"] = QJsonArray{QJsonObject{{"command", "show"},
                                       {"label", texts("Hiện", "Show")},
                                       {"hotkeyDefault", "⌘⇧T"}},
                           menuEntry("hide", texts("Ẩn", "Hide"))};
    j["settingGroups"] =
        QJsonArray{QJsonObject{{"id", "look"}, {"label", texts("Giao diện", "Look")}}};
    QJsonObject grouped = boolSetting("seconds", true);
    grouped["group"] = "look";
    j["settings"] = QJsonArray{grouped, intSetting("size", 12, 8, 72),
                               enumSetting("style", "digital", {"analog", "digital"}),
                               stringSetting("format", "HH:mm", 20)};
    j["dynamicCommands"] = QJsonArray{"a", "a", ""};
    j["description"] = texts("Mô tả", "Description");
    j["screenshots"] = QJsonArray{"https://ovrel.vn/1.png", "https://ovrel.vn/2.png"};
    j["quickAccessDefault"] = true;
    j["permissions"] = QJsonArray{"inputMonitoring", "screenRecording"};
    j["minMacOS"] = "13.1";

    const ModuleManifest m = ModuleManifest::load(toBytes(j), "clock");
    ASSERT_EQ(m.menu().size(), 2);
    EXPECT_EQ(m.menu()[0].command, "show");
    EXPECT_EQ(m.menu()[0].hotkeyDefault, QString("⌘⇧T"));
    EXPECT_EQ(m.menu()[1].command, "hide");
    EXPECT_FALSE(m.menu()[1].hotkeyDefault.has_value());
    ASSERT_EQ(m.settings().size(), 4);
    EXPECT_EQ(m.settings()[0].key(), "seconds");
    EXPECT_EQ(m.settings()[0].group(), QString("look"));
    EXPECT_EQ(m.settings()[1].kind(), SettingSpec::Kind::integer);
    EXPECT_EQ(m.settings()[2].kind(), SettingSpec::Kind::enumeration);
    EXPECT_EQ(m.settings()[3].kind(), SettingSpec::Kind::string);
    EXPECT_EQ(m.settingGroups()[0].id, "look");
    EXPECT_EQ(m.dynamicCommands(), (QStringList{"a", "a", ""}));
    EXPECT_EQ(m.description()->text("en"), "Description");
    EXPECT_EQ(m.screenshots().size(), 2);
    EXPECT_TRUE(m.quickAccessDefault());
    EXPECT_EQ(m.permissions(), (QList<PermissionKind>{PermissionKind::inputMonitoring,
                                                      PermissionKind::screenRecording}));
    EXPECT_EQ(m.minMacOS(), QString("13.1"));

    EXPECT_EQ(m, ModuleManifest::load(toBytes(j), "clock"));
    j["version"] = "1.0.1";
    EXPECT_FALSE(m == ModuleManifest::load(toBytes(j), "clock"));
}

TEST(ModuleManifestLoad, LocalizedTextsDropUnsupportedCodesAndBlankTexts) {
    QJsonObject j = minimalManifest();
    j["name"] = QJsonObject{{"vi", "Đồng hồ"}, {"en", " Clock "}, {"de", "Uhr"}, {"fr", " \n\t"}};
    const ModuleManifest m = ModuleManifest::load(toBytes(j), "clock");
    EXPECT_EQ(m.name().values(), (QMap<QString, QString>{{"vi", "Đồng hồ"}, {"en", " Clock "}}));
}

TEST(ModuleManifestLoad, EveryDecodingFailureIsInvalidJson) {
    const ManifestError invalid(Kind::invalidJSON);
    EXPECT_EQ(loadError(QByteArray("not json")), invalid);
    EXPECT_EQ(loadError(QByteArray("[]")), invalid);
    EXPECT_EQ(loadError(QByteArray("")), invalid);
    EXPECT_EQ(loadError(toBytes(minimalManifest()).chopped(1)), invalid);

    for (const char* key :
         {"id", "version", "minHostVersion", "name", "summary", "menu", "settings"}) {
        QJsonObject j = minimalManifest();
        j.remove(key);
        EXPECT_EQ(loadError(j), invalid) << "without " << key;
        j[key] = QJsonValue::Null;
        EXPECT_EQ(loadError(j), invalid) << key << " null";
    }

    const auto with = [](const char* key, const QJsonValue& value) {
        QJsonObject j = minimalManifest();
        j[key] = value;
        return j;
    };
    EXPECT_EQ(loadError(with("id", 7)), invalid);
    EXPECT_EQ(loadError(with("version", 1.0)), invalid);
    EXPECT_EQ(loadError(with("name", "Clock")), invalid);
    EXPECT_EQ(loadError(with("name", QJsonObject{{"vi", "a"}, {"en", "b"}, {"de", 1}})), invalid);
    EXPECT_EQ(loadError(with("menu", QJsonObject{})), invalid);
    EXPECT_EQ(loadError(with("menu", QJsonArray{QJsonObject{{"label", texts("a", "b")}}})),
              invalid);
    EXPECT_EQ(loadError(with("menu", QJsonArray{QJsonObject{{"command", "x"},
                                                            {"label", texts("a", "b")},
                                                            {"hotkeyDefault", 3}}})),
              invalid);
    EXPECT_EQ(loadError(with("mode", 1)), invalid);
    EXPECT_EQ(loadError(with("quickAccessDefault", "true")), invalid);
    EXPECT_EQ(loadError(with("openWindowOnLaunch", 1)), invalid);
    EXPECT_EQ(loadError(with("screenshots", QJsonArray{"https://a", 5})), invalid);
    EXPECT_EQ(loadError(with("dynamicCommands", "a")), invalid);
    EXPECT_EQ(loadError(with("permissions", QJsonArray{QJsonValue::Null})), invalid);
    EXPECT_EQ(loadError(with("settingGroups", QJsonArray{QJsonObject{{"id", "g"}}})), invalid);
    EXPECT_EQ(loadError(with("description", QJsonArray{})), invalid);
    EXPECT_EQ(loadError(with("minMacOS", 14)), invalid);
}

TEST(ModuleManifestLoad, SettingsThatDoNotDecodeAreInvalidJson) {
    const ManifestError invalid(Kind::invalidJSON);
    const auto withSetting = [](QJsonObject setting) {
        QJsonObject j = minimalManifest();
        j["settings"] = QJsonArray{setting};
        return j;
    };
    QJsonObject unknownType = boolSetting("k");
    unknownType["type"] = "color";
    EXPECT_EQ(loadError(withSetting(unknownType)), invalid);
    QJsonObject noType = boolSetting("k");
    noType.remove("type");
    EXPECT_EQ(loadError(withSetting(noType)), invalid);
    QJsonObject boolAsNumber = boolSetting("k");
    boolAsNumber["default"] = 1;
    EXPECT_EQ(loadError(withSetting(boolAsNumber)), invalid);
    QJsonObject noMax = intSetting("k", 1, 0, 2);
    noMax.remove("max");
    EXPECT_EQ(loadError(withSetting(noMax)), invalid);
    QJsonObject noOptions = enumSetting("k", "a", {"a"});
    noOptions.remove("options");
    EXPECT_EQ(loadError(withSetting(noOptions)), invalid);
    QJsonObject optionWithoutLabel = enumSetting("k", "a", {"a"});
    optionWithoutLabel["options"] = QJsonArray{QJsonObject{{"value", "a"}}};
    EXPECT_EQ(loadError(withSetting(optionWithoutLabel)), invalid);
    QJsonObject noMaxLength = stringSetting("k", "", 3);
    noMaxLength.remove("maxLength");
    EXPECT_EQ(loadError(withSetting(noMaxLength)), invalid);

    // Integers are signed 64-bit and never fractions.
    const QByteArray base = toBytes(withSetting(intSetting("k", 1, 0, 2)));
    EXPECT_EQ(loadError(QByteArray(base).replace("\"default\":1", "\"default\":1.5")), invalid);
    EXPECT_EQ(loadError(QByteArray(base).replace("\"max\":2", "\"max\":9223372036854775808")),
              invalid);
    EXPECT_EQ(loadError(QByteArray(base).replace("\"max\":2", "\"max\":1e400")), invalid);
    EXPECT_EQ(loadError(QByteArray(base).replace("\"max\":2", "\"max\":2.0")), std::nullopt);
}

TEST(ModuleManifestLoad, IntegerSettingsKeepExact64BitBounds) {
    QJsonObject j = minimalManifest();
    j["settings"] = QJsonArray{intSetting("k", std::numeric_limits<qint64>::max(),
                                          std::numeric_limits<qint64>::min(),
                                          std::numeric_limits<qint64>::max())};
    const ModuleManifest m = ModuleManifest::load(toBytes(j), "clock");
    const IntSpec& spec = std::get<IntSpec>(m.settings()[0].variant());
    EXPECT_EQ(spec.min, std::numeric_limits<qint64>::min());
    EXPECT_EQ(spec.max, std::numeric_limits<qint64>::max());
    EXPECT_EQ(spec.defaultValue, std::numeric_limits<qint64>::max());
}

TEST(ModuleManifestLoad, NullOptionalKeysCountAsAbsentAndUnknownKeysAreIgnored) {
    QJsonObject j = minimalManifest();
    for (const char* key :
         {"mode", "settingGroups", "dynamicCommands", "description", "screenshots",
          "quickAccessDefault", "openWindowOnLaunch", "permissions", "minMacOS"})
        j[key] = QJsonValue::Null;
    j["futureKey"] = QJsonObject{{"anything", QJsonArray{1, "two", QJsonValue::Null}}};
    const ModuleManifest m = ModuleManifest::load(toBytes(j), "clock");
    EXPECT_EQ(m, ModuleManifest::load(toBytes(minimalManifest()), "clock"));
}

TEST(ModuleManifestLoad, IdMustMatchExactly) {
    EXPECT_EQ(loadError(minimalManifest(), "Clock"), ManifestError(Kind::idMismatch));
    EXPECT_EQ(loadError(minimalManifest(), "clock2"), ManifestError(Kind::idMismatch));
    EXPECT_EQ(loadError(minimalManifest(), ""), ManifestError(Kind::idMismatch));
}

TEST(ModuleManifestLoad, ModeIsCaseSensitive) {
    for (const char* mode : {"Resident", "ondemand", "", "background"}) {
        QJsonObject j = minimalManifest();
        j["mode"] = mode;
        EXPECT_EQ(loadError(j), ManifestError(Kind::invalidMode, mode));
    }
}

TEST(ModuleManifestLoad, RequiredLanguagesAreCheckedWithTheirPaths) {
    QJsonObject blankVi = minimalManifest();
    blankVi["name"] = texts("   ", "Clock");
    EXPECT_EQ(loadError(blankVi), ManifestError(Kind::missingRequiredLanguage, "name"));

    QJsonObject noEnSummary = minimalManifest();
    noEnSummary["summary"] = QJsonObject{{"vi", "x"}, {"fr", "y"}};
    EXPECT_EQ(loadError(noEnSummary), ManifestError(Kind::missingRequiredLanguage, "summary"));

    QJsonObject description = minimalManifest();
    description["description"] = QJsonObject{{"en", "x"}};
    EXPECT_EQ(loadError(description), ManifestError(Kind::missingRequiredLanguage, "description"));

    QJsonObject menu = minimalManifest();
    menu["menu"] = QJsonArray{menuEntry("show", QJsonObject{{"vi", "Hiện"}})};
    EXPECT_EQ(loadError(menu), ManifestError(Kind::missingRequiredLanguage, "menu.show.label"));

    QJsonObject group = minimalManifest();
    group["settingGroups"] = QJsonArray{QJsonObject{{"id", "g"}, {"label", QJsonObject{}}}};
    EXPECT_EQ(loadError(group),
              ManifestError(Kind::missingRequiredLanguage, "settingGroups.g.label"));

    QJsonObject setting = minimalManifest();
    QJsonObject spec = boolSetting("on");
    spec["label"] = QJsonObject{{"en", "On"}, {"vi", ""}};
    setting["settings"] = QJsonArray{spec};
    EXPECT_EQ(loadError(setting),
              ManifestError(Kind::missingRequiredLanguage, "settings.on.label"));
}

TEST(ModuleManifestLoad, ScreenshotsMustUseHttpsExactly) {
    QJsonObject j = minimalManifest();
    j["screenshots"] = QJsonArray{"https://a/1.png", "http://a/2.png", "ftp://a/3.png"};
    EXPECT_EQ(loadError(j), ManifestError(Kind::insecureScreenshotURL, "http://a/2.png"));
    j["screenshots"] = QJsonArray{"HTTPS://a/1.png"};
    EXPECT_EQ(loadError(j), ManifestError(Kind::insecureScreenshotURL, "HTTPS://a/1.png"));
    j["screenshots"] = QJsonArray{" https://a/1.png"};
    EXPECT_EQ(loadError(j), ManifestError(Kind::insecureScreenshotURL, " https://a/1.png"));
}

TEST(ModuleManifestLoad, MenuCommandsAndGroupIdsAreUnique) {
    QJsonObject menu = minimalManifest();
    menu["menu"] =
        QJsonArray{menuEntry("show", texts("a", "b")), menuEntry("hide", texts("a", "b")),
                   menuEntry("show", texts("c", "d"))};
    EXPECT_EQ(loadError(menu), ManifestError(Kind::duplicateCommand, "show"));

    QJsonObject groups = minimalManifest();
    groups["settingGroups"] = QJsonArray{QJsonObject{{"id", "g"}, {"label", texts("a", "b")}},
                                         QJsonObject{{"id", "g"}, {"label", texts("a", "b")}}};
    EXPECT_EQ(loadError(groups), ManifestError(Kind::duplicateSettingGroup, "g"));
}

TEST(ModuleManifestLoad, SettingKeysAreUniqueAndGroupsMustBeDeclared) {
    QJsonObject j = minimalManifest();
    j["menu"] = QJsonArray{menuEntry("volume", texts("a", "b"))};
    j["settings"] = QJsonArray{boolSetting("volume"), intSetting("volume", 1, 0, 2)};
    EXPECT_EQ(loadError(j), ManifestError(Kind::duplicateKey, "volume"));

    QJsonObject grouped = boolSetting("a");
    grouped["group"] = "later";
    j["settings"] = QJsonArray{grouped};
    EXPECT_EQ(loadError(j), ManifestError(Kind::unknownSettingGroup, "later"));
    // A group declared anywhere in settingGroups is known.
    j["settingGroups"] = QJsonArray{QJsonObject{{"id", "first"}, {"label", texts("a", "b")}},
                                    QJsonObject{{"id", "later"}, {"label", texts("a", "b")}}};
    EXPECT_EQ(loadError(j), std::nullopt);
}

TEST(ModuleManifestLoad, IntegerDefaultsMustLieWithinInclusiveBounds) {
    const auto error = [](qint64 def, qint64 min, qint64 max) {
        QJsonObject j = minimalManifest();
        j["settings"] = QJsonArray{intSetting("n", def, min, max)};
        return loadError(j);
    };
    EXPECT_EQ(error(10, 0, 10), std::nullopt);
    EXPECT_EQ(error(0, 0, 10), std::nullopt);
    EXPECT_EQ(error(7, 7, 7), std::nullopt);
    EXPECT_EQ(error(11, 0, 10), ManifestError(Kind::defaultOutOfRange, "n"));
    EXPECT_EQ(error(-1, 0, 10), ManifestError(Kind::defaultOutOfRange, "n"));
    EXPECT_EQ(error(3, 5, 1), ManifestError(Kind::defaultOutOfRange, "n"));
    EXPECT_EQ(error(5, 5, 1), ManifestError(Kind::defaultOutOfRange, "n"));
}

TEST(ModuleManifestLoad, EnumerationsNeedOptionsContainingTheDefault) {
    QJsonObject j = minimalManifest();
    j["settings"] = QJsonArray{enumSetting("style", "a", {})};
    EXPECT_EQ(loadError(j), ManifestError(Kind::emptyOptions, "style"));
    j["settings"] = QJsonArray{enumSetting("style", "A", {"a", "b"})};
    EXPECT_EQ(loadError(j), ManifestError(Kind::defaultNotInOptions, "style"));
    // Option labels and duplicate option values are not examined.
    QJsonObject loose = enumSetting("style", "b", {"b", "b"});
    QJsonArray options = loose["options"].toArray();
    options.append(QJsonObject{{"value", "c"}, {"label", QJsonObject{}}});
    loose["options"] = options;
    j["settings"] = QJsonArray{loose};
    EXPECT_EQ(loadError(j), std::nullopt);
}

TEST(ModuleManifestLoad, StringDefaultsMustFitMaxLength) {
    const auto error = [](const QString& def, qint64 maxLength) {
        QJsonObject j = minimalManifest();
        j["settings"] = QJsonArray{stringSetting("s", def, maxLength)};
        return loadError(j);
    };
    EXPECT_EQ(error("abc", 3), std::nullopt);
    EXPECT_EQ(error("abcd", 3), ManifestError(Kind::defaultOutOfRange, "s"));
    EXPECT_EQ(error("", 0), std::nullopt);
    // Counted in user-perceived characters: three flags are three characters.
    EXPECT_EQ(error("🇻🇳🇫🇷🇯🇵", 3), std::nullopt);
    EXPECT_EQ(error("🇻🇳🇫🇷🇯🇵", 2), ManifestError(Kind::defaultOutOfRange, "s"));
    // The sign of maxLength is not checked, but no default fits a negative one.
    EXPECT_EQ(error("", -1), ManifestError(Kind::defaultOutOfRange, "s"));
}

TEST(ModuleManifestLoad, PermissionsAreKnownAndUnique) {
    QJsonObject j = minimalManifest();
    j["permissions"] = QJsonArray{"accessibility", "fullDiskAccess", "accessibility"};
    EXPECT_EQ(loadError(j), ManifestError(Kind::duplicatePermission, "accessibility"));
    j["permissions"] = QJsonArray{"accessibility", "camera"};
    EXPECT_EQ(loadError(j), ManifestError(Kind::invalidJSON));
    j["permissions"] = QJsonArray{"Accessibility"};
    EXPECT_EQ(loadError(j), ManifestError(Kind::invalidJSON));
}

TEST(ModuleManifestLoad, MinMacOSMustBeOneToThreeNumbers) {
    QJsonObject j = minimalManifest();
    j["minMacOS"] = "14.5";
    EXPECT_EQ(loadError(j), std::nullopt);
    j["minMacOS"] = "14.5.1.2";
    EXPECT_EQ(loadError(j), ManifestError(Kind::invalidMinMacOS, "14.5.1.2"));
    j["minMacOS"] = "";
    EXPECT_EQ(loadError(j), ManifestError(Kind::invalidMinMacOS, ""));
}

TEST(ModuleManifestVersion, AcceptsOneToThreeAsciiNumbers) {
    for (const char* ok : {"14", "14.5", "14.5.1", "0", "007.0.10"})
        EXPECT_TRUE(ModuleManifest::isValidMacOSVersion(ok)) << ok;
    for (const char* bad : {"", ".", "14.", ".14", "14..5", "1.2.3.4", "15.a", "1 .2", "+1", "-1",
                            "1.2.3.", "١٤", "１４"})
        EXPECT_FALSE(ModuleManifest::isValidMacOSVersion(QString::fromUtf8(bad))) << bad;
}
