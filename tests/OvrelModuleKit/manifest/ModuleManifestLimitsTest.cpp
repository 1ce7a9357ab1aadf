#include "ManifestFixture.h"

#include <functional>
#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;
using Kind = ManifestError::Kind;

namespace {

// Characters that are one user-perceived character each but several code units.
const QString kThumbWithSkinTone = QString::fromUtf8("👍🏽");
const QString kFamily = QString::fromUtf8("👨‍👩‍👧‍👦");
const QString kStackedVietnamese = QString::fromUtf8("e\u0323\u0302"); // ệ, decomposed

QJsonArray repeated(int count, const std::function<QJsonValue(int)>& make) {
    QJsonArray array;
    for (int i = 0; i < count; ++i)
        array.append(make(i));
    return array;
}

// Checks that `build(limit)` loads and `build(limit + 1)` fails with `error`.
void expectLimit(const std::function<QJsonObject(int)>& build, int limit,
                 const ManifestError& error) {
    EXPECT_EQ(loadError(build(limit)), std::nullopt) << "at the limit " << limit;
    EXPECT_EQ(loadError(build(limit + 1)), error) << "one over the limit " << limit;
}

} // namespace

TEST(ModuleManifestLimits, CountsOfListedEntries) {
    expectLimit(
        [](int n) {
            QJsonObject j = minimalManifest();
            j["screenshots"] =
                repeated(n, [](int i) { return QString("https://s/%1.png").arg(i); });
            return j;
        },
        8, ManifestError(Kind::tooManyScreenshots));
    expectLimit(
        [](int n) {
            QJsonObject j = minimalManifest();
            j["menu"] = repeated(
                n, [](int i) { return menuEntry(QString("c%1").arg(i), texts("a", "b")); });
            return j;
        },
        10, ManifestError(Kind::tooManyMenuEntries));
    expectLimit(
        [](int n) {
            QJsonObject j = minimalManifest();
            j["settings"] = repeated(n, [](int i) { return boolSetting(QString("k%1").arg(i)); });
            return j;
        },
        30, ManifestError(Kind::tooManySettings));
    expectLimit(
        [](int n) {
            QJsonObject j = minimalManifest();
            j["settingGroups"] = repeated(n, [](int i) {
                return QJsonObject{{"id", QString("g%1").arg(i)}, {"label", texts("a", "b")}};
            });
            return j;
        },
        10, ManifestError(Kind::tooManySettingGroups));
    expectLimit(
        [](int n) {
            QJsonObject j = minimalManifest();
            j["dynamicCommands"] = repeated(n, [](int i) { return QString("d%1").arg(i); });
            return j;
        },
        30, ManifestError(Kind::tooManyDynamicCommands));
}

TEST(ModuleManifestLimits, TextLengthsInEveryLanguage) {
    const auto longText = [](const char* code, const QString& text) {
        QJsonObject t = texts("vi", "en");
        t[code] = text;
        return t;
    };
    for (const QString& unit : {QString("a"), kThumbWithSkinTone, kFamily, kStackedVietnamese}) {
        SCOPED_TRACE(unit.toStdString());
        expectLimit(
            [&](int n) {
                QJsonObject j = minimalManifest();
                j["summary"] = longText("ja", unit.repeated(n));
                return j;
            },
            300, ManifestError(Kind::summaryTooLong));
        expectLimit(
            [&](int n) {
                QJsonObject j = minimalManifest();
                j["description"] = longText("vi", unit.repeated(n));
                return j;
            },
            4000, ManifestError(Kind::descriptionTooLong));
        expectLimit(
            [&](int n) {
                QJsonObject j = minimalManifest();
                j["name"] = longText("en", unit.repeated(n));
                return j;
            },
            100, ManifestError(Kind::labelTooLong, "name"));
        expectLimit(
            [&](int n) {
                QJsonObject j = minimalManifest();
                j["menu"] = QJsonArray{menuEntry("open", longText("ko", unit.repeated(n)))};
                return j;
            },
            100, ManifestError(Kind::labelTooLong, "open"));
        expectLimit(
            [&](int n) {
                QJsonObject j = minimalManifest();
                j["settingGroups"] = QJsonArray{
                    QJsonObject{{"id", "look"}, {"label", longText("fr", unit.repeated(n))}}};
                return j;
            },
            100, ManifestError(Kind::labelTooLong, "settingGroups.look"));
        expectLimit(
            [&](int n) {
                QJsonObject j = minimalManifest();
                QJsonObject spec = boolSetting("on");
                spec["label"] = longText("es", unit.repeated(n));
                j["settings"] = QJsonArray{spec};
                return j;
            },
            100, ManifestError(Kind::labelTooLong, "on"));
    }
}

TEST(ModuleManifestLimits, CarriageReturnLineFeedIsOneCharacter) {
    QJsonObject j = minimalManifest();
    j["summary"] = texts("x", "x" + QString("\r\n").repeated(299));
    EXPECT_EQ(loadError(j), std::nullopt);
    j["summary"] = texts("x", "x" + QString("\r\n").repeated(300));
    EXPECT_EQ(loadError(j), ManifestError(Kind::summaryTooLong));
}

// Each case has two faults; the one examined first must be reported.
TEST(ModuleManifestLimits, TheEarlierOfTwoFaultsIsReported) {
    struct Case {
        const char* what;
        std::function<void(QJsonObject&)> spoil;
        ManifestError expected;
    };
    const QString longLabel = QString("x").repeated(101);
    const std::vector<Case> cases = {
        {"undecodable before id",
         [](QJsonObject& j) {
             j["id"] = "other";
             j["menu"] = 1;
         },
         ManifestError(Kind::invalidJSON)},
        {"id before mode",
         [](QJsonObject& j) {
             j["id"] = "other";
             j["mode"] = "x";
         },
         ManifestError(Kind::idMismatch)},
        {"mode before long name",
         [&](QJsonObject& j) {
             j["mode"] = "Resident";
             j["name"] = texts("a", longLabel);
         },
         ManifestError(Kind::invalidMode, "Resident")},
        {"mode before missing name language",
         [](QJsonObject& j) {
             j["mode"] = "x";
             j["name"] = QJsonObject{{"vi", "a"}};
         },
         ManifestError(Kind::invalidMode, "x")},
        {"name languages before summary languages",
         [](QJsonObject& j) {
             j["name"] = QJsonObject{{"vi", "a"}};
             j["summary"] = QJsonObject{};
         },
         ManifestError(Kind::missingRequiredLanguage, "name")},
        {"summary before description",
         [](QJsonObject& j) {
             j["summary"] = texts("a", QString("s").repeated(301));
             j["description"] = QJsonObject{};
         },
         ManifestError(Kind::summaryTooLong)},
        {"description before screenshots",
         [](QJsonObject& j) {
             j["description"] = texts("a", QString("d").repeated(4001));
             j["screenshots"] = QJsonArray{"http://x"};
         },
         ManifestError(Kind::descriptionTooLong)},
        {"screenshot count before insecure screenshot",
         [](QJsonObject& j) { j["screenshots"] = repeated(9, [](int) { return "http://x"; }); },
         ManifestError(Kind::tooManyScreenshots)},
        {"screenshots before long name",
         [&](QJsonObject& j) {
             j["screenshots"] = QJsonArray{"http://x"};
             j["name"] = texts("a", longLabel);
         },
         ManifestError(Kind::insecureScreenshotURL, "http://x")},
        {"screenshots before menu count",
         [](QJsonObject& j) {
             j["screenshots"] = repeated(9, [](int i) { return QString("https://%1").arg(i); });
             j["menu"] =
                 repeated(11, [](int i) { return menuEntry(QString::number(i), texts("a", "b")); });
         },
         ManifestError(Kind::tooManyScreenshots)},
        {"long name before menu count",
         [&](QJsonObject& j) {
             j["name"] = texts("a", longLabel);
             j["menu"] =
                 repeated(11, [](int i) { return menuEntry(QString::number(i), texts("a", "b")); });
         },
         ManifestError(Kind::labelTooLong, "name")},
        {"menu count before settings count",
         [](QJsonObject& j) {
             j["menu"] =
                 repeated(11, [](int i) { return menuEntry(QString::number(i), texts("a", "b")); });
             j["settings"] = repeated(31, [](int i) { return boolSetting(QString::number(i)); });
         },
         ManifestError(Kind::tooManyMenuEntries)},
        {"settings count before menu entries",
         [](QJsonObject& j) {
             j["menu"] =
                 QJsonArray{menuEntry("a", texts("a", "b")), menuEntry("a", texts("a", "b"))};
             j["settings"] = repeated(31, [](int i) { return boolSetting(QString::number(i)); });
         },
         ManifestError(Kind::tooManySettings)},
        {"duplicate command before its label",
         [](QJsonObject& j) {
             j["menu"] = QJsonArray{menuEntry("a", texts("a", "b")), menuEntry("a", QJsonObject{})};
         },
         ManifestError(Kind::duplicateCommand, "a")},
        {"menu label languages before menu label length",
         [&](QJsonObject& j) {
             j["menu"] = QJsonArray{menuEntry("a", QJsonObject{{"en", longLabel}})};
         },
         ManifestError(Kind::missingRequiredLanguage, "menu.a.label")},
        {"menu entries before group count",
         [&](QJsonObject& j) {
             j["menu"] = QJsonArray{menuEntry("a", texts("a", longLabel))};
             j["settingGroups"] = repeated(11, [](int i) {
                 return QJsonObject{{"id", QString::number(i)}, {"label", texts("a", "b")}};
             });
         },
         ManifestError(Kind::labelTooLong, "a")},
        {"group count before groups",
         [](QJsonObject& j) {
             j["settingGroups"] = repeated(11, [](int) {
                 return QJsonObject{{"id", "same"}, {"label", texts("a", "b")}};
             });
         },
         ManifestError(Kind::tooManySettingGroups)},
        {"groups before settings",
         [](QJsonObject& j) {
             j["settingGroups"] = QJsonArray{QJsonObject{{"id", "g"}, {"label", QJsonObject{}}}};
             j["settings"] = QJsonArray{boolSetting("k"), boolSetting("k")};
         },
         ManifestError(Kind::missingRequiredLanguage, "settingGroups.g.label")},
        {"duplicate key before unknown group",
         [](QJsonObject& j) {
             QJsonObject second = boolSetting("k");
             second["group"] = "nowhere";
             j["settings"] = QJsonArray{boolSetting("k"), second};
         },
         ManifestError(Kind::duplicateKey, "k")},
        {"unknown group before setting label",
         [](QJsonObject& j) {
             QJsonObject s = boolSetting("k");
             s["group"] = "nowhere";
             s["label"] = QJsonObject{};
             j["settings"] = QJsonArray{s};
         },
         ManifestError(Kind::unknownSettingGroup, "nowhere")},
        {"setting label before its default",
         [&](QJsonObject& j) {
             QJsonObject s = intSetting("n", 5, 0, 1);
             s["label"] = texts("a", longLabel);
             j["settings"] = QJsonArray{s};
         },
         ManifestError(Kind::labelTooLong, "n")},
        {"settings in declaration order",
         [](QJsonObject& j) {
             j["settings"] = QJsonArray{enumSetting("e", "z", {"a"}), intSetting("n", 5, 0, 1)};
         },
         ManifestError(Kind::defaultNotInOptions, "e")},
        {"settings before dynamic commands",
         [](QJsonObject& j) {
             j["settings"] = QJsonArray{stringSetting("s", "long", 1)};
             j["dynamicCommands"] = repeated(31, [](int) { return "d"; });
         },
         ManifestError(Kind::defaultOutOfRange, "s")},
        {"dynamic commands before permissions",
         [](QJsonObject& j) {
             j["dynamicCommands"] = repeated(31, [](int) { return "d"; });
             j["permissions"] = QJsonArray{"camera"};
         },
         ManifestError(Kind::tooManyDynamicCommands)},
        {"permissions in declaration order",
         [](QJsonObject& j) {
             j["permissions"] = QJsonArray{"accessibility", "accessibility", "camera"};
         },
         ManifestError(Kind::duplicatePermission, "accessibility")},
        {"unknown permission before a later duplicate",
         [](QJsonObject& j) {
             j["permissions"] = QJsonArray{"camera", "camera"};
         },
         ManifestError(Kind::invalidJSON)},
        {"permissions before minMacOS",
         [](QJsonObject& j) {
             j["permissions"] = QJsonArray{"accessibility", "accessibility"};
             j["minMacOS"] = "x";
         },
         ManifestError(Kind::duplicatePermission, "accessibility")},
    };
    for (const Case& c : cases) {
        QJsonObject j = minimalManifest();
        c.spoil(j);
        EXPECT_EQ(loadError(j), c.expected) << c.what;
    }
}
