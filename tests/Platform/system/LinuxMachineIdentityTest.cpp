#include "Platform/system/LinuxMachineIdentity.h"
#include "TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace ovrel;
using ovrel::test::TempDir;

TEST(LinuxMachineIdentity, FormatsTheMachineIdAsAnUppercaseUuid) {
    EXPECT_EQ(LinuxMachineIdentity::uuidFromMachineId("0123456789abcdef0123456789abcdef\n"),
              QStringLiteral("01234567-89AB-CDEF-0123-456789ABCDEF"));
    EXPECT_EQ(LinuxMachineIdentity::uuidFromMachineId("  FEDCBA9876543210fedcba9876543210 \r\n"),
              QStringLiteral("FEDCBA98-7654-3210-FEDC-BA9876543210"));
}

TEST(LinuxMachineIdentity, RejectsContentsThatAreNoMachineId) {
    for (const char* contents :
         {"", "\n", "uninitialized\n", "00000000000000000000000000000000\n",
          "0123456789abcdef0123456789abcde\n", "0123456789abcdef0123456789abcdef0\n",
          "0123456789abcdef0123456789abcdeg\n", "01234567-89ab-cdef-0123-456789abcdef\n",
          "0123456789abcdef 0123456789abcdef"}) {
        EXPECT_EQ(LinuxMachineIdentity::uuidFromMachineId(contents), std::nullopt) << contents;
    }
}

TEST(LinuxMachineIdentity, TriesTheCandidateFilesInOrder) {
    TempDir dir;
    const QString first = dir.file("etc-machine-id");
    const QString second = dir.file("dbus-machine-id");
    const LinuxMachineIdentity identity({first, second});

    EXPECT_EQ(identity.hardwareUUID(), std::nullopt) << "no file at all";

    test::writeFile(second, "22222222222222222222222222222222\n");
    EXPECT_EQ(identity.hardwareUUID(), QStringLiteral("22222222-2222-2222-2222-222222222222"));

    test::writeFile(first, "uninitialized\n"); // early boot: falls through
    EXPECT_EQ(identity.hardwareUUID(), QStringLiteral("22222222-2222-2222-2222-222222222222"));

    test::writeFile(first, "11111111111111111111111111111111\n");
    EXPECT_EQ(identity.hardwareUUID(), QStringLiteral("11111111-1111-1111-1111-111111111111"));
}

TEST(LinuxMachineIdentity, SkipsDirectoriesAndOversizedFiles) {
    TempDir dir;
    QDir().mkpath(dir.file("a-directory"));
    test::writeFile(dir.file("huge"), "11111111111111111111111111111111" + QByteArray(100000, ' '));
    EXPECT_EQ(LinuxMachineIdentity({dir.file("a-directory"), dir.file("huge")}).hardwareUUID(),
              std::nullopt);
}

TEST(LinuxMachineIdentity, SystemIdentityIsAUuidOrNothing) {
    EXPECT_EQ(LinuxMachineIdentity::defaultCandidateFiles(),
              QStringList({"/etc/machine-id", "/var/lib/dbus/machine-id"}));
    const auto uuid = MachineIdentity::system().hardwareUUID();
    if (uuid) {
        const QRegularExpression shape(
            "^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
        EXPECT_TRUE(shape.match(*uuid).hasMatch()) << uuid->toStdString();
    }
}
