#include "OvrelHub/shell/OtherBuildGuard.h"
#include "FakeWorkspace.h"
#include "OvrelHub/shell/OtherBuildAlert.h"
#include "OvrelHub/shell/Trace.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace ovrel;
using Decision = OtherBuildGuard::Decision;

namespace {

struct GuardFixture : ::testing::Test {
    test::TempDir dir;
    QString other; // the other build's program
    QString self;  // this build
    QString homeTrash;

    void SetUp() override {
        other = dir.file("opt/ovrel-app/ovrel");
        self = dir.file("opt/ovrel-lite/ovrel-lite");
        homeTrash = dir.file("home/.local/share/Trash");
        test::writeFile(other, "elf");
        test::writeFile(self, "elf");
        QDir().mkpath(homeTrash + "/files");
    }

    OtherBuildGuard::Locate at(std::optional<QString> where) {
        return [where](const QString& id) {
            EXPECT_EQ(id, "vn.ovrel.app");
            return where;
        };
    }
    OtherBuildGuard::TrashDirectories trash() {
        return
            [this](const QString& p) { return OtherBuildGuard::trashDirectoriesFor(p, homeTrash); };
    }
    Decision decide(
        std::optional<QString> where,
        std::function<bool(const QString&)> readOnly = [](const QString&) { return false; }) {
        return OtherBuildGuard::decideForRealSystem("vn.ovrel.app", at(where), self, readOnly,
                                                    trash());
    }
};

} // namespace

TEST_F(GuardFixture, InstalledOtherBuildBlocks) {
    EXPECT_EQ(decide(other), Decision::block(other));
}

TEST_F(GuardFixture, UnknownOrDeletedOtherBuildProceeds) {
    EXPECT_EQ(decide(std::nullopt), Decision::proceed());
    EXPECT_EQ(decide(dir.file("opt/gone/ovrel")), Decision::proceed());
    EXPECT_EQ(decide(QString()), Decision::proceed());
}

TEST_F(GuardFixture, CopyInTheTrashProceedsAlsoThroughALink) {
    const QString trashed = homeTrash + "/files/ovrel-app/ovrel";
    test::writeFile(trashed, "elf");
    EXPECT_EQ(decide(trashed), Decision::proceed());

    // The Trash reached through a symbolic link is still the Trash.
    ASSERT_TRUE(QFile::link(homeTrash, dir.file("trash-link")));
    EXPECT_EQ(decide(dir.file("trash-link/files/ovrel-app/ovrel")), Decision::proceed());

    // The Trash directory itself and a sibling with a longer name are not inside.
    EXPECT_FALSE(OtherBuildGuard::isInTrash(homeTrash, {homeTrash}));
    EXPECT_FALSE(OtherBuildGuard::isInTrash(homeTrash + "-other/x", {homeTrash}));
}

TEST_F(GuardFixture, ReadOnlyVolumeCountsOnlyWhileThisBuildIsWritable) {
    auto otherReadOnly = [this](const QString& p) { return p == other; };
    EXPECT_EQ(decide(other, otherReadOnly), Decision::proceed());
    auto bothReadOnly = [](const QString&) { return true; };
    EXPECT_EQ(decide(other, bothReadOnly), Decision::block(other));
    EXPECT_TRUE(OtherBuildGuard::isEffectivelyUninstalled(other, {}, true, false));
    EXPECT_FALSE(OtherBuildGuard::isEffectivelyUninstalled(other, {}, true, true));
    EXPECT_FALSE(OtherBuildGuard::isOnReadOnlyVolume(dir.path()));
    EXPECT_FALSE(OtherBuildGuard::isOnReadOnlyVolume(dir.file("does/not/exist")));
}

TEST_F(GuardFixture, TrashDirectoriesAreDeduplicatedAndIncludeTheVolumeTrash) {
    const QStringList dirs = OtherBuildGuard::trashDirectoriesFor(other, homeTrash);
    ASSERT_GE(dirs.size(), 1);
    EXPECT_EQ(dirs.first(), homeTrash);
    const QString uid = QString::number(::getuid());
    EXPECT_TRUE(std::any_of(dirs.cbegin(), dirs.cend(),
                            [&](const QString& d) { return d.endsWith("/.Trash-" + uid); }));

    // A home Trash given as another spelling of the volume's Trash is that
    // Trash: it is listed once, under the first name it was given.
    const auto volumeTrash = std::find_if(
        dirs.cbegin(), dirs.cend(), [&](const QString& d) { return d.endsWith("/.Trash-" + uid); });
    ASSERT_NE(volumeTrash, dirs.cend());
    const QString alias = *volumeTrash + "/../.Trash-" + uid;
    const QStringList aliased = OtherBuildGuard::trashDirectoriesFor(other, alias);
    EXPECT_EQ(aliased.size(), dirs.size() - 1) << aliased.join(", ").toStdString();
    EXPECT_EQ(aliased.first(), alias);
    EXPECT_FALSE(aliased.contains(*volumeTrash));
}

TEST(OtherBuildGuardReduced, BlocksOnlyWhatExists) {
    auto locate = [](const QString&) { return std::optional<QString>("/opt/x"); };
    EXPECT_EQ(OtherBuildGuard::decide(locate, "vn.ovrel.app", [](const QString&) { return true; }),
              Decision::block("/opt/x"));
    EXPECT_EQ(OtherBuildGuard::decide(locate, "vn.ovrel.app", [](const QString&) { return false; }),
              Decision::proceed());
    EXPECT_EQ(OtherBuildGuard::decide([](const QString&) { return std::nullopt; }, "vn.ovrel.app",
                                      [](const QString&) { return true; }),
              Decision::proceed());
}

TEST(OtherBuildAlert, TracesAsksInTheLanguageAndRevealsOnRequest) {
    test::TempDir dir;
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", dir.path().toUtf8());
    test::FakeWorkspace workspace;
    OtherBuildAlert::Texts asked;
    OtherBuildAlert::show("/opt/ovrel-app/ovrel", AppLanguage::en, workspace,
                          [&](const auto& texts) {
                              asked = texts;
                              return OtherBuildAlert::Choice::reveal;
                          });
    EXPECT_EQ(asked.title, "Both versions are installed");
    EXPECT_EQ(asked.revealButton, "Show in File Manager");
    EXPECT_EQ(asked.quitButton, "Quit Ovrel");
    EXPECT_FALSE(asked.body.isEmpty());
    EXPECT_EQ(workspace.revealed, QStringList{"/opt/ovrel-app/ovrel"});

    OtherBuildAlert::show("/opt/x", AppLanguage::vi, workspace, [&](const auto& texts) {
        asked = texts;
        return OtherBuildAlert::Choice::quit;
    });
    EXPECT_EQ(asked.title, QString::fromUtf8("Bạn đang có cả hai bản"));
    EXPECT_EQ(workspace.revealed.size(), 1);
    const QString trace = QString::fromUtf8(test::readFile(Trace::filePath()));
    EXPECT_TRUE(trace.contains(QString::fromUtf8(
        "chốt chặn: máy có bản kia tại /opt/ovrel-app/ovrel → hiện hộp thoại rồi thoát")));
    qputenv("XDG_STATE_HOME", saved);
}
