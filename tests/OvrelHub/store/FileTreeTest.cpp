#include "OvrelHub/store/FileTree.h"
#include "OvrelHub/store/BundleMover.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ovrel;

namespace {

mode_t modeOf(const QString& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
    return status.st_mode & 07777;
}

QByteArray linkTarget(const QString& path) {
    char target[4096];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
    return length < 0 ? QByteArray() : QByteArray(target, length);
}

struct FileTreeTest : ::testing::Test {
    test::TempDir dir;

    // A bundle-like tree: an executable, a resource, links inside and out.
    QString tree() {
        const QString root = dir.file("Clock.app");
        test::writeFile(root + "/Contents/MacOS/clock", "program");
        ::chmod(QFile::encodeName(root + "/Contents/MacOS/clock").constData(), 04755);
        test::writeFile(root + "/Contents/Resources/icon.png", "icon");
        ::chmod(QFile::encodeName(root + "/Contents/Resources/icon.png").constData(), 0600);
        test::writeFile(dir.file("secret.txt"), "outside");
        QFile::link("icon.png", root + "/Contents/Resources/alias.png");
        QFile::link(dir.file("secret.txt"), root + "/Contents/Resources/outside");
        return root;
    }
};

} // namespace

TEST_F(FileTreeTest, CopyKeepsContentsModesAndLinksButNoSetIdBits) {
    const QString from = tree();
    const QString to = dir.file("copy/Clock.app");
    QDir().mkpath(dir.file("copy"));
    FileTree::copy(from, to);
    EXPECT_EQ(test::readFile(to + "/Contents/MacOS/clock"), "program");
    EXPECT_EQ(modeOf(to + "/Contents/MacOS/clock"), 0755u);
    EXPECT_EQ(modeOf(to + "/Contents/Resources/icon.png"), 0600u);
    // Links stay links, with the very same target text.
    EXPECT_TRUE(QFileInfo(to + "/Contents/Resources/alias.png").isSymLink());
    EXPECT_EQ(linkTarget(to + "/Contents/Resources/alias.png"), "icon.png");
    EXPECT_EQ(linkTarget(to + "/Contents/Resources/outside"),
              QFile::encodeName(dir.file("secret.txt")));
    EXPECT_TRUE(QFileInfo::exists(from + "/Contents/MacOS/clock"));
}

TEST_F(FileTreeTest, CopyRefusesSpecialFilesAndLeavesNothingBehind) {
    const QString from = tree();
    ASSERT_EQ(::mkfifo(QFile::encodeName(from + "/Contents/Resources/pipe").constData(), 0600), 0);
    EXPECT_THROW(FileTree::copy(from, dir.file("Copy.app")), FileError);
    EXPECT_FALSE(FileTree::exists(dir.file("Copy.app")));
}

TEST_F(FileTreeTest, CopyNeverWritesIntoSomethingThatExists) {
    const QString from = tree();
    test::writeFile(dir.file("Copy.app/keep"), "mine");
    EXPECT_THROW(FileTree::copy(from, dir.file("Copy.app")), FileError);
    EXPECT_EQ(test::readFile(dir.file("Copy.app/keep")), "mine");
}

TEST_F(FileTreeTest, CopyRefusesTreesDeeperThanTheLimit) {
    QString deep = dir.file("Deep.app");
    for (int i = 0; i <= FileTree::kMaxDepth; ++i)
        deep += "/d";
    ASSERT_TRUE(QDir().mkpath(deep));
    EXPECT_THROW(FileTree::copy(dir.file("Deep.app"), dir.file("Copy.app")), FileError);
    EXPECT_FALSE(FileTree::exists(dir.file("Copy.app")));
}

TEST_F(FileTreeTest, RemoveTakesReadOnlyTreesAndNeverFollowsLinks) {
    const QString from = tree();
    test::writeFile(dir.file("elsewhere/keep"), "kept");
    QFile::link(dir.file("elsewhere"), from + "/Contents/linked-dir");
    ::chmod(QFile::encodeName(from + "/Contents/Resources").constData(), 0500);
    EXPECT_TRUE(FileTree::remove(from));
    EXPECT_FALSE(FileTree::exists(from));
    EXPECT_EQ(test::readFile(dir.file("elsewhere/keep")), "kept");
    EXPECT_EQ(test::readFile(dir.file("secret.txt")), "outside");
    EXPECT_TRUE(FileTree::remove(from)); // nothing there is fine
}

TEST_F(FileTreeTest, RestrictingPermissionsReachesEveryEntryButNothingBehindALink) {
    const QString root = tree();
    test::writeFile(root + "/Contents/Resources/deep/er/shared.txt", "x");
    ::chmod(QFile::encodeName(root + "/Contents/Resources/deep/er/shared.txt").constData(), 0666);
    ::chmod(QFile::encodeName(root + "/Contents/Resources/deep").constData(), 02777);
    ::chmod(QFile::encodeName(dir.file("secret.txt")).constData(), 0666);
    FileTree::restrictPermissions(root);
    EXPECT_EQ(modeOf(root + "/Contents/MacOS/clock"), 0755u);
    EXPECT_EQ(modeOf(root + "/Contents/Resources/icon.png"), 0600u);
    EXPECT_EQ(modeOf(root + "/Contents/Resources/deep"), 0755u);
    EXPECT_EQ(modeOf(root + "/Contents/Resources/deep/er/shared.txt"), 0644u);
    EXPECT_EQ(modeOf(dir.file("secret.txt")), 0666u); // the link's target is not ours
    EXPECT_THROW(FileTree::restrictPermissions(dir.file("missing")), FileError);
}

TEST_F(FileTreeTest, ExistsCountsDanglingLinks) {
    QFile::link(dir.file("nowhere"), dir.file("dangling"));
    EXPECT_TRUE(FileTree::exists(dir.file("dangling")));
    EXPECT_FALSE(FileTree::exists(dir.file("nowhere")));
}

TEST(BundleMoverTest, MovesWithinAndAcrossFileSystems) {
    test::TempDir home;
    test::writeFile(home.file("Clock.app/Contents/MacOS/clock"), "program");
    BundleMover::move(home.file("Clock.app"), home.file("Moved.app"));
    EXPECT_EQ(test::readFile(home.file("Moved.app/Contents/MacOS/clock")), "program");
    EXPECT_FALSE(FileTree::exists(home.file("Clock.app")));

    // /dev/shm is a memory file system on most machines: a rename fails there.
    QTemporaryDir other(QStringLiteral("/dev/shm/ovrel-mover-XXXXXX"));
    struct stat a {
    }, b{};
    if (!other.isValid() || ::stat(QFile::encodeName(home.path()).constData(), &a) != 0 ||
        ::stat(QFile::encodeName(other.path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system to move across";
    BundleMover::move(home.file("Moved.app"), other.filePath("Clock.app"));
    EXPECT_EQ(test::readFile(other.filePath("Clock.app/Contents/MacOS/clock")), "program");
    EXPECT_FALSE(FileTree::exists(home.file("Moved.app")));
}

TEST(BundleMoverTest, FailureLeavesTheSourceWhereItWas) {
    test::TempDir home;
    test::writeFile(home.file("Clock.app/Contents/MacOS/clock"), "program");
    EXPECT_THROW(BundleMover::move(home.file("Clock.app"), home.file("missing/dir/Clock.app")),
                 FileError);
    EXPECT_EQ(test::readFile(home.file("Clock.app/Contents/MacOS/clock")), "program");
}

TEST_F(FileTreeTest, CopyKeepsEveryByteOfLargeEmptyAndPseudoFiles) {
    // Larger than any one chunk of a copy, and not a multiple of a page.
    QByteArray large(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>((i * 7919) >> 3);
    test::writeFile(dir.file("Big.app/Contents/Resources/large.bin"), large);
    test::writeFile(dir.file("Big.app/Contents/Resources/empty"), "");
    FileTree::copy(dir.file("Big.app"), dir.file("Copy.app"));
    EXPECT_EQ(test::readFile(dir.file("Copy.app/Contents/Resources/large.bin")), large);
    EXPECT_TRUE(QFileInfo::exists(dir.file("Copy.app/Contents/Resources/empty")));
    EXPECT_EQ(QFileInfo(dir.file("Copy.app/Contents/Resources/empty")).size(), 0);

    // A file whose length the kernel reports as 0 still has its text copied.
    FileTree::copy("/proc/self/status", dir.file("status"));
    EXPECT_TRUE(test::readFile(dir.file("status")).startsWith("Name:"));
}

TEST_F(FileTreeTest, RemoveTakesTreesDeeperThanACopyMay) {
    QString deep = dir.file("Deep.app");
    for (int i = 0; i <= FileTree::kMaxDepth + 10; ++i)
        deep += "/d";
    test::writeFile(deep + "/file", "x");
    EXPECT_TRUE(FileTree::remove(dir.file("Deep.app")));
    EXPECT_FALSE(FileTree::exists(dir.file("Deep.app")));
}
