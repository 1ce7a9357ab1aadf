#include "Platform/system/HostOS.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace ovrel;

TEST(HostOS, KernelReleasesReadAsThreeNumbers) {
    const struct {
        const char* release;
        const char* version;
    } cases[] = {
        {"6.1.0-18-amd64", "6.1.0"},
        {"6.18.44-fc-v1300", "6.18.44"},
        {"5.15.0-105-generic", "5.15.0"},
        {"5.10.102.1-microsoft-standard-WSL2", "5.10.102"},
        {"4.19.0+", "4.19.0"},
        {"6.8.0-rc3", "6.8.0"},
        {"6.1-rc1", "6.1.0"},
        {"5.15", "5.15.0"},
        {"6", "6.0.0"},
        {"6.", "6.0.0"},
        {"6..1", "6.0.0"},
        {"6.1.", "6.1.0"},
        {"06.01.007", "6.1.7"},
        {"0.0.0", "0.0.0"},
        {"123456789.1.2", "123456789.1.2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HostOS::versionFromRelease(QString::fromLatin1(c.release)),
                  QString::fromLatin1(c.version))
            << c.release;
}

TEST(HostOS, GarbageReadsAsZero) {
    for (const char* release : {"", "abc", "v6.1.0", "-6.1", " 6.1", ".6", "1234567890.1.2",
                                "6.99999999999999999999.0", "\xd9\xa6.1"})
        EXPECT_EQ(HostOS::versionFromRelease(QString::fromUtf8(release)), "0.0.0") << release;
}

TEST(HostOS, CurrentVersionComesFromTheReleaseSource) {
    EXPECT_EQ(HostOS::currentVersion([] { return QStringLiteral("5.4.17-x"); }), "5.4.17");
    EXPECT_EQ(HostOS::currentVersion(HostOS::ReleaseSource()), "0.0.0");

    EXPECT_FALSE(HostOS::kernelRelease().isEmpty());
    EXPECT_EQ(HostOS::currentVersion(), HostOS::versionFromRelease(HostOS::kernelRelease()));
    EXPECT_TRUE(QRegularExpression("^[0-9]+\\.[0-9]+\\.[0-9]+$")
                    .match(HostOS::currentVersion())
                    .hasMatch());
    EXPECT_NE(HostOS::currentVersion(), "0.0.0") << "a running kernel has a version";
}
