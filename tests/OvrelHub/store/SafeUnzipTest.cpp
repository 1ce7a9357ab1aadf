#include "OvrelHub/store/SafeUnzip.h"
#include "OvrelHub/store/UnzipError.h"
#include "TestSupport.h"
#include "ZipWriter.h"

#include <QDirIterator>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace ovrel {
inline void PrintTo(const UnzipError& error, std::ostream* os) {
    *os << error.what();
}
} // namespace ovrel

namespace ovrel::test {
namespace {

using E = ZipEntry;

// A destination two levels down, with sentinel files beside it and above it:
// whatever an archive tries, everything outside the destination stays as it was.
struct SafeUnzipTest : ::testing::Test {
    TempDir dir;
    QString destination = dir.file("outer/staging/work");
    QString zip = dir.file("archive.zip");

    void SetUp() override {
        writeFile(dir.file("sentinel"), "top");
        writeFile(dir.file("outer/sentinel"), "outer");
        writeFile(dir.file("outer/staging/sentinel"), "beside");
        before = outside();
    }

    // Every path outside the destination, with its content or link target.
    QStringList outside() const {
        QStringList items;
        QDirIterator it(dir.path(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path == destination || path.startsWith(destination + "/") || path == zip)
                continue;
            const QFileInfo info(path);
            items.append(path + " " +
                         (info.isSymLink() ? info.symLinkTarget()
                          : info.isFile()  ? QString::fromUtf8(readFile(path))
                                           : QString("dir")));
        }
        items.sort();
        return items;
    }

    std::optional<UnzipError> refusal(const QList<ZipEntry>& entries,
                                      const ZipArchive::Limits& limits = {}) {
        writeZip(zip, entries);
        try {
            SafeUnzip::extract(zip, destination, limits);
        } catch (const UnzipError& error) {
            EXPECT_EQ(outside(), before);
            return error;
        }
        EXPECT_EQ(outside(), before);
        return std::nullopt;
    }

    QStringList before;
};

const QList<ZipEntry> kBundle = {E::directory("Clock.app/"), E::directory("Clock.app/Contents/"),
                                 E::file("Clock.app/Contents/Info.plist", "plist"),
                                 E::file("Clock.app/Contents/MacOS/clock", "elf", 0755)};

QList<ZipEntry> bundleWith(std::initializer_list<ZipEntry> extra) {
    QList<ZipEntry> entries = kBundle;
    entries.append(extra);
    return entries;
}

TEST_F(SafeUnzipTest, UnpacksTheBundleAndLeavesOtherTopLevelItems) {
    writeZip(zip, bundleWith(
                      {E::directory("__MACOSX/"), E::link("Clock.app/Contents/Current", "MacOS")}));
    EXPECT_EQ(SafeUnzip::extract(zip, destination), destination + "/Clock.app");
    EXPECT_EQ(readFile(destination + "/Clock.app/Contents/MacOS/clock"), "elf");
    EXPECT_TRUE(QFileInfo(destination + "/Clock.app/Contents/MacOS/clock").isExecutable());
    EXPECT_TRUE(QFileInfo(destination + "/__MACOSX").isDir());
    EXPECT_EQ(readFile(destination + "/Clock.app/Contents/Current/clock"), "elf");
}

TEST_F(SafeUnzipTest, AnEscapingNameIsRefusedBeforeAnythingIsWritten) {
    writeFile(destination + "/previous", "kept");
    for (const QByteArray& name : {QByteArray("../evil"), QByteArray("Clock.app/../../evil"),
                                   QByteArray("/etc/evil"), QByteArray("./")}) {
        EXPECT_EQ(refusal(bundleWith({E::file(name, "x")})),
                  UnzipError::unsafeEntry(QString::fromUtf8(name)));
        EXPECT_EQ(readFile(destination + "/previous"), "kept");
    }
}

TEST_F(SafeUnzipTest, LinksLeadingOutsideAreRefusedDirectOrThroughChains) {
    const QList<std::pair<QList<ZipEntry>, QString>> cases = {
        {bundleWith({E::link("Clock.app/out", "../../sentinel")}), "out"},
        {bundleWith({E::link("Clock.app/abs", "/etc/passwd")}), "abs"},
        {bundleWith({E::link("Clock.app/home", "~/x")}), "home"},
        // Each link looks inside on its own; followed together they climb out.
        {bundleWith(
             {E::link("Clock.app/Contents/up", ".."), E::link("Clock.app/a", "Contents/up/../..")}),
         "a"},
        {bundleWith({E::link("Clock.app/loop1", "loop2"), E::link("Clock.app/loop2", "loop1")}),
         "loop1"},
    };
    for (const auto& [entries, name] : cases) {
        const auto error = refusal(entries);
        ASSERT_TRUE(error) << name.toStdString();
        EXPECT_EQ(error->kind(), UnzipError::Kind::escapingSymlink) << name.toStdString();
    }
}

TEST_F(SafeUnzipTest, NothingIsWrittenThroughALinkTheArchiveMadeItself) {
    writeFile(dir.file("outer/target/keep"), "outside");
    before = outside();
    // The link itself would fail the later check; the write through it must
    // never happen at all.
    const auto error = refusal(bundleWith({E::link("Clock.app/escape", "../../../target"),
                                           E::file("Clock.app/escape/keep", "pwned"),
                                           E::file("Clock.app/escape/new", "pwned")}));
    EXPECT_EQ(error, UnzipError::extractFailed());
    EXPECT_EQ(readFile(dir.file("outer/target/keep")), "outside");
    EXPECT_FALSE(QFileInfo::exists(dir.file("outer/target/new")));
}

TEST_F(SafeUnzipTest, ClashesAndDuplicateNamesAreRefused) {
    EXPECT_EQ(refusal(bundleWith({E::file("Clock.app/Contents/Info.plist", "second")})),
              UnzipError::extractFailed());
    EXPECT_EQ(refusal(bundleWith({E::file("Clock.app/Contents", "file over a directory")})),
              UnzipError::extractFailed());
    EXPECT_EQ(refusal(bundleWith({E::file("Clock.app/Contents/Info.plist/x", "below a file")})),
              UnzipError::extractFailed());
    EXPECT_EQ(refusal(bundleWith({E::link("Clock.app/Contents/MacOS/clock", "Info.plist")})),
              UnzipError::extractFailed());
}

TEST_F(SafeUnzipTest, SpecialFilesAreSkippedAndUnsafeModeBitsDropped) {
    EXPECT_FALSE(
        refusal(bundleWith({E::fifo("Clock.app/pipe"), E::file("Clock.app/setuid", "x", 06777)})));
    EXPECT_FALSE(QFileInfo::exists(destination + "/Clock.app/pipe"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(destination + "/Clock.app/setuid").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
}

TEST_F(SafeUnzipTest, ArchivesBeyondTheLimitsFailWithoutFillingTheDisk) {
    const ZipArchive::Limits small{.maxEntries = 10, .maxUnpackedBytes = 1000};
    EXPECT_EQ(refusal(bundleWith({E::file("Clock.app/big", QByteArray(5000, 'a'))}), small),
              UnzipError::extractFailed());
    EXPECT_LE(QFileInfo(destination + "/Clock.app/big").size(), 1000 + 65536);
    QList<ZipEntry> many = kBundle;
    for (int i = 0; i < 20; ++i)
        many.append(E::file("Clock.app/f" + QByteArray::number(i), "x"));
    EXPECT_EQ(refusal(many, small), UnzipError::extractFailed());
}

TEST_F(SafeUnzipTest, TheTopLevelMustHoldExactlyOneBundle) {
    EXPECT_EQ(refusal({E::directory("Folder/"), E::file("Folder/x", "x")}),
              UnzipError::noAppBundle());
    EXPECT_EQ(refusal(bundleWith({E::file("Other.APP/x", "x")})), UnzipError::multipleAppBundles());
    EXPECT_EQ(refusal({E::file("Fake.app", "a file")}), UnzipError::noAppBundle());
}

TEST_F(SafeUnzipTest, DamagedArchivesFailToList) {
    writeFile(zip, "PK\x03\x04 not really a zip");
    EXPECT_THROW(SafeUnzip::extract(zip, destination), UnzipError);
    try {
        SafeUnzip::extract(dir.file("missing.zip"), destination);
    } catch (const UnzipError& error) {
        EXPECT_EQ(error, UnzipError::listFailed());
    }
}

TEST(SafeUnzipRules, EntryNamesAndLinkTargets) {
    for (const char* safe : {"Clock.app/", "Clock.app/Contents/../Info.plist", "a\\..\\..\\b"})
        EXPECT_TRUE(SafeUnzip::isSafeEntryPath(safe)) << safe;
    for (const char* unsafe : {"../x", "a/../../x", "./", "/etc/x", "", "a/..", "//"})
        EXPECT_FALSE(SafeUnzip::isSafeEntryPath(unsafe)) << unsafe;
    EXPECT_TRUE(SafeUnzip::resolvesInside("/r", "/r/a/b", "../c"));
    EXPECT_TRUE(SafeUnzip::resolvesInside("/r", "/r/a", ".."));
    EXPECT_FALSE(SafeUnzip::resolvesInside("/r", "/r/a", "../../rr"));
    EXPECT_FALSE(SafeUnzip::resolvesInside("/r", "/r", "~/x"));
}

} // namespace
} // namespace ovrel::test
