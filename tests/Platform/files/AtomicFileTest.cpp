#include "Platform/files/AtomicFile.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ovrel;
using ovrel::test::TempDir;

TEST(AtomicFile, CreatesParentsAndReplacesWholeFile) {
    TempDir dir;
    const QString path = dir.file("a/b/c/file.json");
    AtomicFile::write(path, "first version, longer");
    AtomicFile::write(path, "second");
    EXPECT_EQ(test::readFile(path), QByteArray("second"));
    // No temporary files left beside the target.
    EXPECT_EQ(QDir(dir.file("a/b/c")).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(AtomicFile, AppliesRequestedModes) {
    TempDir dir;
    const QString path = dir.file("secrets/x.bin");
    AtomicFile::write(path, "k", {.fileMode = 0600, .directoryMode = 0700});
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(dir.file("secrets")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(AtomicFile, FailureLeavesOldContentAndReportsPath) {
    TempDir dir;
    const QString path = dir.file("file");
    AtomicFile::write(path, "keep me");
    // A directory in place of a parent makes the write fail.
    test::writeFile(dir.file("blocker"), "x");
    EXPECT_THROW(AtomicFile::write(dir.file("blocker/child"), "y"), FileError);
    // Renaming over a directory fails and must not destroy it or leave temp files.
    QDir().mkpath(dir.file("dir-target"));
    try {
        AtomicFile::write(dir.file("dir-target"), "z");
        FAIL() << "writing over a directory succeeded";
    } catch (const FileError& e) {
        EXPECT_TRUE(e.path().endsWith("dir-target"));
    }
    EXPECT_TRUE(QFileInfo(dir.file("dir-target")).isDir());
    EXPECT_EQ(test::readFile(path), QByteArray("keep me"));
    EXPECT_EQ(QDir(dir.path()).entryList(QStringList{".*tmp*"}, QDir::Files | QDir::Hidden).size(),
              0);
}
