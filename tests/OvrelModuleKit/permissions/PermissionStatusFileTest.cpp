#include "OvrelModuleKit/permissions/PermissionStatusFile.h"
#include "JsonCorpus.h"
#include "Platform/files/FileError.h"
#include "Platform/system/UnixTime.h"
#include "TestSupport.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace ovrel;
using ovrel::test::TempDir;
using Statuses = PermissionStatusFile::Statuses;
using Clock = std::chrono::system_clock;

namespace {

class PermissionStatusFileTest : public testing::Test {
protected:
    TempDir dir;
    ModulePaths paths{dir.path()};
    const std::vector<PermissionKind> everyKind{allPermissionKinds.begin(),
                                                allPermissionKinds.end()};

    void store(const QByteArray& json) { test::writeFile(paths.permissionsFile("pulse"), json); }
    Statuses read(const std::vector<PermissionKind>& declared) {
        return PermissionStatusFile::read(paths, "pulse", declared);
    }
    Statuses allUndetermined() {
        Statuses result;
        for (const PermissionKind kind : everyKind)
            result[kind] = PermissionStatus::undetermined;
        return result;
    }
};

Clock::time_point at(double seconds) {
    return UnixTime::fromSeconds(seconds).value();
}

} // namespace

TEST(PermissionKind, RawValuesInDeclarationOrder) {
    QStringList kinds;
    for (const PermissionKind kind : allPermissionKinds)
        kinds << rawValue(kind);
    EXPECT_EQ(kinds, QStringList({"screenRecording", "accessibility", "inputMonitoring",
                                  "fullDiskAccess"}));
    QStringList statuses;
    for (const PermissionStatus status : allPermissionStatuses)
        statuses << rawValue(status);
    EXPECT_EQ(statuses, QStringList({"granted", "denied", "undetermined"}));
    EXPECT_EQ(permissionKindFromRawValue("inputMonitoring"), PermissionKind::inputMonitoring);
    EXPECT_EQ(permissionKindFromRawValue("Accessibility"), std::nullopt);
    EXPECT_EQ(permissionStatusFromRawValue("denied"), PermissionStatus::denied);
    EXPECT_EQ(permissionStatusFromRawValue("GRANTED"), std::nullopt);
}

TEST_F(PermissionStatusFileTest, WritesTheCompactJsonFormat) {
    PermissionStatusFile::write({{PermissionKind::accessibility, PermissionStatus::granted},
                                 {PermissionKind::screenRecording, PermissionStatus::denied}},
                                paths, "pulse", at(1700000000.25));
    EXPECT_EQ(test::readFile(dir.file("Modules/pulse/permissions.json")),
              R"({"statuses":{"accessibility":"granted","screenRecording":"denied"},)"
              R"("version":1,"writtenAt":1700000000.25})");
}

TEST_F(PermissionStatusFileTest, RoundTripsStatusesAndTime) {
    const Statuses written{{PermissionKind::screenRecording, PermissionStatus::granted},
                           {PermissionKind::accessibility, PermissionStatus::denied},
                           {PermissionKind::inputMonitoring, PermissionStatus::undetermined},
                           {PermissionKind::fullDiskAccess, PermissionStatus::granted}};
    const auto now = Clock::now();
    PermissionStatusFile::write(written, paths, "pulse", now);
    EXPECT_EQ(read(everyKind), written);
    const auto back = PermissionStatusFile::writtenAt(paths, "pulse");
    ASSERT_TRUE(back.has_value());
    // Exact to the precision of a double of seconds since 1970.
    EXPECT_EQ(UnixTime::toSeconds(*back), UnixTime::toSeconds(now));
    EXPECT_LT(std::chrono::abs(*back - now), std::chrono::microseconds(1));
    EXPECT_EQ(PermissionStatusFile::writtenAt(paths, "pulse"), back);
}

TEST_F(PermissionStatusFileTest, ReadGivesExactlyTheDeclaredKinds) {
    PermissionStatusFile::write({{PermissionKind::screenRecording, PermissionStatus::granted}},
                                paths, "pulse", at(1));
    EXPECT_EQ(read({}), Statuses{});
    EXPECT_EQ(read({PermissionKind::accessibility, PermissionKind::screenRecording,
                    PermissionKind::accessibility}),
              Statuses({{PermissionKind::accessibility, PermissionStatus::undetermined},
                        {PermissionKind::screenRecording, PermissionStatus::granted}}));
}

TEST_F(PermissionStatusFileTest, NoFileMeansUndeterminedAndNoTime) {
    EXPECT_EQ(read({PermissionKind::accessibility}),
              Statuses({{PermissionKind::accessibility, PermissionStatus::undetermined}}));
    EXPECT_EQ(PermissionStatusFile::writtenAt(paths, "pulse"), std::nullopt);
}

TEST_F(PermissionStatusFileTest, UnknownStatusesAndKindsAreIgnored) {
    store(R"({"version":1,"writtenAt":5,"statuses":{"accessibility":"Granted",)"
          R"("screenRecording":"granted","camera":"granted","fullDiskAccess":""}})");
    Statuses expected = allUndetermined();
    expected[PermissionKind::screenRecording] = PermissionStatus::granted;
    EXPECT_EQ(read(everyKind), expected);
    EXPECT_EQ(PermissionStatusFile::writtenAt(paths, "pulse"), at(5));
}

TEST_F(PermissionStatusFileTest, VersionsOtherThanOneAreAbsent) {
    for (const char* version : {"2", "0", "1.5", "\"1\"", "true", "null", "-1", "1e300"}) {
        store(QByteArray(R"({"version":)") + version +
              R"(,"writtenAt":5,"statuses":{"accessibility":"granted"}})");
        EXPECT_EQ(read(everyKind), allUndetermined()) << version;
        EXPECT_EQ(PermissionStatusFile::writtenAt(paths, "pulse"), std::nullopt) << version;
    }
    store(R"({"version":1.0,"writtenAt":5,"statuses":{"accessibility":"granted"}})");
    EXPECT_EQ(read({PermissionKind::accessibility}).at(PermissionKind::accessibility),
              PermissionStatus::granted);
}

TEST_F(PermissionStatusFileTest, FilesMissingAKeyOrOfWrongTypesAreAbsent) {
    for (const QByteArray& json : QList<QByteArray>{
             R"({"writtenAt":5,"statuses":{"accessibility":"granted"}})",
             R"({"version":1,"statuses":{"accessibility":"granted"}})",
             R"({"version":1,"writtenAt":5})",
             R"({"version":1,"writtenAt":"5","statuses":{"accessibility":"granted"}})",
             R"({"version":1,"writtenAt":5,"statuses":["accessibility"]})",
             R"({"version":1,"writtenAt":5,"statuses":{"accessibility":"granted","x":1}})",
             R"([1,5,{"accessibility":"granted"}])", "", "\xff\xfe{", "{\"version\":1,"}) {
        store(json);
        EXPECT_EQ(read(everyKind), allUndetermined()) << json.constData();
        EXPECT_EQ(PermissionStatusFile::writtenAt(paths, "pulse"), std::nullopt)
            << json.constData();
    }
}

TEST_F(PermissionStatusFileTest, TimesNoTimePointCanHoldGiveNoTime) {
    store(R"({"version":1,"writtenAt":1e300,"statuses":{"accessibility":"granted"}})");
    EXPECT_EQ(PermissionStatusFile::writtenAt(paths, "pulse"), std::nullopt);
    // The statuses themselves are still trustworthy.
    EXPECT_EQ(read({PermissionKind::accessibility}).at(PermissionKind::accessibility),
              PermissionStatus::granted);
    store(R"({"version":1,"writtenAt":-86400.5,"statuses":{}})");
    EXPECT_EQ(PermissionStatusFile::writtenAt(paths, "pulse"), at(-86400.5));
}

TEST_F(PermissionStatusFileTest, HugeDeepAndOddFilesAreAbsent) {
    store("{\"version\":1,\"writtenAt\":5,\"statuses\":{\"accessibility\":\"granted\"}}" +
          QByteArray(2 << 20, ' '));
    EXPECT_EQ(read(everyKind), allUndetermined());
    store(QByteArray(100000, '[') + QByteArray(100000, ']'));
    EXPECT_EQ(read(everyKind), allUndetermined());
    QFile::remove(paths.permissionsFile("pulse"));
    QDir().mkpath(paths.permissionsFile("pulse"));
    EXPECT_EQ(read(everyKind), allUndetermined());
    EXPECT_EQ(PermissionStatusFile::writtenAt(paths, "pulse"), std::nullopt);
}

TEST_F(PermissionStatusFileTest, InvalidModuleIdsNeverLeaveTheModulesDirectory) {
    EXPECT_THROW(PermissionStatusFile::write({}, paths, "../escape", at(1)), FileError);
    EXPECT_THROW(PermissionStatusFile::write({}, paths, "", at(1)), FileError);
    EXPECT_FALSE(QFile::exists(dir.file("escape/permissions.json")));
    test::writeFile(dir.file("escape/permissions.json"),
                    R"({"version":1,"writtenAt":5,"statuses":{"accessibility":"granted"}})");
    EXPECT_EQ(PermissionStatusFile::read(paths, "../escape", {PermissionKind::accessibility})
                  .at(PermissionKind::accessibility),
              PermissionStatus::undetermined);
    EXPECT_EQ(PermissionStatusFile::writtenAt(paths, "../escape"), std::nullopt);
}

TEST_F(PermissionStatusFileTest, WriteFailuresAreThrown) {
    test::writeFile(dir.file("Modules"), "a file where the directory should be");
    EXPECT_THROW(PermissionStatusFile::write({}, paths, "pulse", at(1)), FileError);
}

TEST_F(PermissionStatusFileTest, AnUnpairedSurrogateEscapeMakesTheFileUnreadable) {
    const QByteArray valid =
        R"({"version":1,"statuses":{"accessibility":"granted"},"writtenAt":5})";
    store(valid);
    ASSERT_EQ(read({PermissionKind::accessibility}).at(PermissionKind::accessibility),
              PermissionStatus::granted);
    for (const char* json :
         {R"({"version":1,"statuses":{"accessibility":"granted","\udead":"denied"},"writtenAt":5})",
          R"({"version":1,"statuses":{"accessibility":"granted\udead"},"writtenAt":5})"}) {
        store(json);
        EXPECT_EQ(read(everyKind), allUndetermined()) << json;
        EXPECT_EQ(PermissionStatusFile::writtenAt(paths, "pulse"), std::nullopt) << json;
    }
}

TEST_F(PermissionStatusFileTest, SurvivesEveryJsonCorpusFile) {
    OVREL_REQUIRE_JSON_CORPUS(files);
    for (const QString& file : files) {
        store(test::readFile(file));
        // None of them is a permission status file.
        EXPECT_EQ(read(everyKind), allUndetermined()) << file.toStdString();
        EXPECT_EQ(PermissionStatusFile::writtenAt(paths, "pulse"), std::nullopt)
            << file.toStdString();
    }
}
