#include "Platform/files/BoundedFile.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ovrel;
using ovrel::test::TempDir;
using Status = BoundedFile::ReadResult::Status;

TEST(BoundedFile, ReadsRegularFilesUpToTheLimit) {
    TempDir dir;
    test::writeFile(dir.file("ten"), "0123456789");
    const auto exact = BoundedFile::read(dir.file("ten"), 10);
    EXPECT_EQ(exact.status, Status::ok);
    EXPECT_EQ(exact.bytes, QByteArray("0123456789"));
    const auto over = BoundedFile::read(dir.file("ten"), 9);
    EXPECT_EQ(over.status, Status::tooLarge);
    EXPECT_TRUE(over.bytes.isEmpty());

    test::writeFile(dir.file("empty"), {});
    EXPECT_EQ(BoundedFile::read(dir.file("empty"), 10).status, Status::ok);
}

TEST(BoundedFile, HugeSparseFileIsRefusedWithoutReadingIt) {
    TempDir dir;
    QFile huge(dir.file("huge"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(qint64(8) << 30)); // sparse: costs no disk space
    huge.close();
    EXPECT_EQ(BoundedFile::read(dir.file("huge"), 1 << 20).status, Status::tooLarge);
}

TEST(BoundedFile, FailsOnWhatIsNoReadableRegularFile) {
    TempDir dir;
    EXPECT_EQ(BoundedFile::read(dir.file("missing"), 10).status, Status::failed);
    QDir().mkpath(dir.file("folder"));
    EXPECT_EQ(BoundedFile::read(dir.file("folder"), 10).status, Status::failed);
    // A FIFO without a writer must not block the reader.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("fifo")).constData(), 0600), 0);
    EXPECT_EQ(BoundedFile::read(dir.file("fifo"), 10).status, Status::failed);
    EXPECT_EQ(BoundedFile::read("/dev/zero", 10).status, Status::failed);
}
