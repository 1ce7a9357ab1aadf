#include "OvrelHub/runner/BundleStamp.h"
#include "Platform/plist/PlistCodec.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unordered_set>

using namespace ovrel;

namespace {

struct BundleStampTest : ::testing::Test {
    test::TempDir dir;
    QString bundle = dir.file("Modules/clock/Clock.app");

    QString path(const QString& relative) const { return bundle + "/" + relative; }

    void writeInfoPlist(const QVariantMap& info) {
        test::writeFile(path("Contents/Info.plist"), PlistCodec::toXml(info));
    }
    void makeBundle() {
        writeInfoPlist(
            {{"CFBundleExecutable", "Clock"}, {"CFBundleIdentifier", "vn.ovrel.module.clock"}});
        test::writeFile(path("Contents/MacOS/Clock"), "program");
        test::writeFile(path("Contents/_CodeSignature/CodeResources"), "<plist/>");
        test::writeFile(path("Contents/Resources/manifest.json"), "{}");
    }
    // Sets the modification time to a fixed past moment.
    static void setModified(const QString& file, time_t seconds) {
        const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
    }
    static void replaceKeepingTimeAndSize(const QString& file, const QByteArray& bytes) {
        struct stat before {};
        ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &before), 0);
        test::writeFile(file + ".new", bytes);
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file + ".new").constData(), times, 0), 0);
        ASSERT_EQ(::rename(QFile::encodeName(file + ".new").constData(),
                           QFile::encodeName(file).constData()),
                  0);
    }
};

} // namespace

TEST_F(BundleStampTest, StampsTheDeclaredExecutableAndTheResourceList) {
    makeBundle();
    const auto stamp = BundleStamp::of(bundle);
    ASSERT_TRUE(stamp.has_value());
    EXPECT_EQ(stamp->executable.path, path("Contents/MacOS/Clock"));
    EXPECT_EQ(stamp->executable.size, 7);
    EXPECT_TRUE(stamp->executable.modified.has_value());
    EXPECT_EQ(stamp->codeResources.path, path("Contents/_CodeSignature/CodeResources"));
    EXPECT_EQ(stamp->codeResources.size, 8);
    ASSERT_TRUE(stamp->infoPlist.has_value());
    EXPECT_EQ(stamp->infoPlist->path, path("Contents/Info.plist"));
    // A trailing slash names the same bundle.
    EXPECT_EQ(BundleStamp::of(bundle + "/"), stamp);
}

TEST_F(BundleStampTest, StableWhileNothingChanges) {
    makeBundle();
    const auto first = BundleStamp::of(bundle);
    ASSERT_TRUE(first.has_value());
    (void)test::readFile(path("Contents/MacOS/Clock"));
    QFile::rename(path("Contents/Resources/manifest.json"), path("Contents/Resources/other.json"));
    test::writeFile(path("Contents/Resources/new.png"), "png");
    const auto second = BundleStamp::of(bundle);
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::hash<BundleStamp>()(*first), std::hash<BundleStamp>()(*second));
    std::unordered_set<BundleStamp> verified{*first};
    EXPECT_EQ(verified.count(*second), 1u);
}

TEST_F(BundleStampTest, ChangesWithTheExecutable) {
    makeBundle();
    const QString executable = path("Contents/MacOS/Clock");
    setModified(executable, 1000000000);
    const auto before = BundleStamp::of(bundle);

    setModified(executable, 1000000001); // touched
    const auto touched = BundleStamp::of(bundle);
    EXPECT_NE(touched, before);

    test::writeFile(executable, "program, longer");
    setModified(executable, 1000000001);
    const auto resized = BundleStamp::of(bundle);
    EXPECT_NE(resized, touched);

    // Replaced by another file with the same time and size, as an archive would.
    replaceKeepingTimeAndSize(executable, "PROGRAM, LONGER");
    const auto replaced = BundleStamp::of(bundle);
    EXPECT_EQ(replaced->executable.modified, resized->executable.modified);
    EXPECT_EQ(replaced->executable.size, resized->executable.size);
    EXPECT_NE(replaced, resized);
}

TEST_F(BundleStampTest, ChangesWithTheResourceListInfoPlistOrTheBundlesPlace) {
    makeBundle();
    const auto before = BundleStamp::of(bundle);
    test::writeFile(path("Contents/_CodeSignature/CodeResources"), "<plist>changed</plist>");
    const auto resources = BundleStamp::of(bundle);
    EXPECT_NE(resources, before);

    writeInfoPlist({{"CFBundleExecutable", "Clock"}, {"CFBundleName", "Clock, renamed"}});
    const auto info = BundleStamp::of(bundle);
    EXPECT_NE(info, resources);

    test::writeFile(path("Contents/MacOS/Clock2"), "other program");
    writeInfoPlist({{"CFBundleExecutable", "Clock2"}});
    const auto other = BundleStamp::of(bundle);
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(other->executable.path, path("Contents/MacOS/Clock2"));

    const QString moved = dir.file("Modules/clock/Moved.app");
    ASSERT_TRUE(QDir().rename(bundle, moved));
    const auto atNewPlace = BundleStamp::of(moved);
    ASSERT_TRUE(atNewPlace.has_value());
    EXPECT_NE(atNewPlace, other);
    EXPECT_EQ(BundleStamp::of(bundle), std::nullopt);
}

TEST_F(BundleStampTest, WithoutADeclaredExecutableTheOnlyRegularFileIsUsed) {
    makeBundle();
    QFile::remove(path("Contents/Info.plist"));
    const auto noPlist = BundleStamp::of(bundle);
    ASSERT_TRUE(noPlist.has_value());
    EXPECT_EQ(noPlist->executable.path, path("Contents/MacOS/Clock"));
    EXPECT_EQ(noPlist->infoPlist, std::nullopt);

    // Links and directories are not regular files.
    ASSERT_TRUE(QFile::link(path("Contents/MacOS/Clock"), path("Contents/MacOS/link")));
    QDir().mkpath(path("Contents/MacOS/sub"));
    EXPECT_EQ(BundleStamp::mainExecutable(bundle), path("Contents/MacOS/Clock"));

    for (const QVariant& info : {QVariant(QVariantMap{{"CFBundleExecutable", 5}}),
                                 QVariant(QVariantList{"Clock"}), QVariant(QVariantMap{})}) {
        test::writeFile(path("Contents/Info.plist"), PlistCodec::toXml(info));
        EXPECT_EQ(BundleStamp::mainExecutable(bundle), path("Contents/MacOS/Clock"));
    }
    test::writeFile(path("Contents/Info.plist"), "not a property list");
    EXPECT_EQ(BundleStamp::mainExecutable(bundle), path("Contents/MacOS/Clock"));
}

TEST_F(BundleStampTest, NoStampWhenTheExecutableIsAmbiguousOrMissing) {
    makeBundle();
    writeInfoPlist({{"CFBundleName", "Clock"}});
    test::writeFile(path("Contents/MacOS/helper"), "second program");
    EXPECT_EQ(BundleStamp::of(bundle), std::nullopt);

    QFile::remove(path("Contents/MacOS/helper"));
    QFile::remove(path("Contents/MacOS/Clock"));
    EXPECT_EQ(BundleStamp::of(bundle), std::nullopt);

    writeInfoPlist({{"CFBundleExecutable", "Missing"}});
    test::writeFile(path("Contents/MacOS/Clock"), "program");
    EXPECT_EQ(BundleStamp::of(bundle), std::nullopt) << "a declared name is not second-guessed";

    EXPECT_EQ(BundleStamp::of(dir.file("nowhere.app")), std::nullopt);
    EXPECT_EQ(BundleStamp::of(QString()), std::nullopt);
}

TEST_F(BundleStampTest, NoStampWithoutTheResourceList) {
    makeBundle();
    QFile::remove(path("Contents/_CodeSignature/CodeResources"));
    EXPECT_EQ(BundleStamp::of(bundle), std::nullopt);
}

TEST_F(BundleStampTest, ADeclaredNameOutsideContentsMacOSNamesNothing) {
    makeBundle();
    test::writeFile(path("Contents/outside"), "elsewhere");
    for (const QString& name : {QString("../outside"), QString(".."), QString("."), QString(""),
                                QString("a/b"), QString("/bin/sh")}) {
        writeInfoPlist({{"CFBundleExecutable", name}});
        EXPECT_EQ(BundleStamp::mainExecutable(bundle), std::nullopt) << name.toStdString();
        EXPECT_EQ(BundleStamp::of(bundle), std::nullopt) << name.toStdString();
    }
}
