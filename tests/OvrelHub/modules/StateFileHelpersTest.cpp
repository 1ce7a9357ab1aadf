#include "OvrelHub/modules/RegularFileReader.h"
#include "OvrelHub/modules/UnreadableFileKeeper.h"
#include "TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ovrel;
using Status = RegularFileReader::Status;

TEST(RegularFileReader, ReadsWholeFilesWithinTheBound) {
    test::TempDir dir;
    EXPECT_EQ(RegularFileReader::read(dir.file("absent"), 10).status, Status::missing);
    EXPECT_EQ(RegularFileReader::read(dir.file("absent/below"), 10).status, Status::missing);

    test::writeFile(dir.file("ten"), "0123456789");
    const auto exact = RegularFileReader::read(dir.file("ten"), 10);
    EXPECT_EQ(exact.status, Status::read);
    EXPECT_EQ(exact.bytes, "0123456789");
    EXPECT_EQ(RegularFileReader::read(dir.file("ten"), 9).status, Status::failed);

    test::writeFile(dir.file("empty"), "");
    const auto empty = RegularFileReader::read(dir.file("empty"), 10);
    EXPECT_EQ(empty.status, Status::read);
    EXPECT_TRUE(empty.bytes.isEmpty());
}

TEST(RegularFileReader, RefusesWhatIsNotARegularFile) {
    test::TempDir dir;
    QDir().mkpath(dir.file("folder"));
    EXPECT_EQ(RegularFileReader::read(dir.file("folder"), 10).status, Status::failed);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("fifo")).constData(), 0600), 0);
    EXPECT_EQ(RegularFileReader::read(dir.file("fifo"), 10).status, Status::failed);
    // Kernel files report no size but have content: the bound still holds.
    EXPECT_EQ(RegularFileReader::read("/proc/self/status", 1 << 20).status, Status::read);
    EXPECT_EQ(RegularFileReader::read("/proc/self/status", 8).status, Status::failed);
}

TEST(UnreadableFileKeeper, KeepsTheFileUnderAFreeSiblingName) {
    test::TempDir dir;
    const QString file = dir.file("state.json");
    test::writeFile(file, "broken {");
    const QDateTime now(QDate(2024, 3, 5), QTime(7, 8, 9), Qt::UTC);

    const QString first = UnreadableFileKeeper::keepAside(file, now);
    EXPECT_EQ(first, file + ".unreadable-20240305T070809Z");
    const QString second = UnreadableFileKeeper::keepAside(file, now);
    EXPECT_EQ(second, file + ".unreadable-20240305T070809Z-2");
    EXPECT_EQ(test::readFile(first), "broken {");
    EXPECT_EQ(test::readFile(second), "broken {");
    EXPECT_EQ(test::readFile(file), "broken {") << "the file itself stays";

    EXPECT_THROW(UnreadableFileKeeper::keepAside(dir.file("absent"), now), FileError);
}
