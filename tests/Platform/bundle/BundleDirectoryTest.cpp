#include "Platform/bundle/BundleDirectory.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ovrel;

// Reads stay inside the bundle: a link anywhere on the way, a climb out or a
// special file is never opened, whatever the bundle's files are called.
TEST(BundleDirectoryTest, OpensOnlyRegularFilesReachedWithoutLinks) {
    test::TempDir dir;
    const QString bundle = dir.file("B.app");
    test::writeFile(bundle + "/Contents/Resources/deep/data.txt", "inside");
    test::writeFile(bundle + "/Contents/Info.plist", "plist");
    test::writeFile(dir.file("secret.txt"), "outside");
    QDir().mkpath(dir.file("elsewhere"));
    test::writeFile(dir.file("elsewhere/data.txt"), "outside");
    ASSERT_TRUE(QFile::link(dir.file("secret.txt"), bundle + "/Contents/secret-link"));
    ASSERT_TRUE(QFile::link("Resources", bundle + "/Contents/Linked"));
    ASSERT_TRUE(QFile::link(dir.file("elsewhere"), bundle + "/Contents/Out"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(bundle + "/Contents/pipe").constData(), 0600), 0);

    const auto directory = BundleDirectory::open(bundle);
    ASSERT_TRUE(directory);
    EXPECT_EQ(directory->readFile("Contents/Resources/deep/data.txt", 100), QByteArray("inside"));
    EXPECT_EQ(directory->readFile("Contents//Info.plist", 100), QByteArray("plist"));
    const auto opened = directory->openFile("Contents/Resources/deep/data.txt");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->size, 6);

    for (const char* refused :
         {"Contents/secret-link", "Contents/Linked/deep/data.txt", "Contents/Out/data.txt",
          "Contents/pipe", "Contents/../../secret.txt", "../secret.txt", "Contents/missing",
          "Contents/Resources", ""}) {
        SCOPED_TRACE(refused);
        EXPECT_FALSE(directory->openFile(refused));
    }
    EXPECT_FALSE(directory->readFile("Contents/Info.plist", 4)); // larger than allowed
}
