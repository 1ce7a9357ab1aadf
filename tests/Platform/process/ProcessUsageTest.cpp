#include "Platform/process/ProcessUsage.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace ovrel;

namespace {
const QString kUnit = "vn.ovrel.module.pulse.service";

// A /proc and a cgroup tree of the test's making for process 42.
struct FakeProc {
    test::TempDir dir;
    QString proc() const { return dir.file("proc"); }
    QString cgroups() const { return dir.file("cgroup"); }
    void process(const QByteArray& cgroup) {
        test::writeFile(dir.file("proc/42/cgroup"), cgroup);
        test::writeFile(dir.file("proc/42/status"), "Name:\tpulse\nVmRSS:\t   2048 kB\n");
        const long ticks = ::sysconf(_SC_CLK_TCK);
        test::writeFile(dir.file("proc/42/stat"), "42 (pu) se) S 1 42 42 0 -1 4194560 0 0 0 0 " +
                                                      QByteArray::number(qint64(3 * ticks)) + " " +
                                                      QByteArray::number(qint64(ticks)) +
                                                      " 0 0 20 0 1 0 100\n");
    }
};
} // namespace

TEST(ProcessUsageTest, AUnitsControlGroupCountsForTheWholeUnit) {
    FakeProc fake;
    const QByteArray group =
        "/user.slice/user-1000.slice/user@1000.service/app.slice/" + kUnit.toUtf8();
    fake.process("0::" + group + "\n");
    test::writeFile(fake.cgroups() + group + "/memory.current", "10485760\n");
    test::writeFile(fake.cgroups() + group + "/cpu.stat",
                    "usage_usec 2500000\nuser_usec 2000000\n");
    const auto usage = ProcessUsage::read(42, kUnit, fake.proc(), fake.cgroups());
    ASSERT_TRUE(usage);
    EXPECT_TRUE(usage->fromUnitCgroup);
    EXPECT_EQ(usage->memoryBytes, 10485760u);
    EXPECT_DOUBLE_EQ(usage->cpuSeconds, 2.5);
}

TEST(ProcessUsageTest, OutsideTheUnitTheProcessItselfIsRead) {
    FakeProc fake;
    // Started by the hub, not systemd; a name with ") " must not shift the fields.
    fake.process("0::/user.slice/session-2.scope\n");
    const auto usage = ProcessUsage::read(42, kUnit, fake.proc(), fake.cgroups());
    ASSERT_TRUE(usage);
    EXPECT_FALSE(usage->fromUnitCgroup);
    EXPECT_EQ(usage->memoryBytes, 2048u * 1024);
    EXPECT_DOUBLE_EQ(usage->cpuSeconds, 4.0);
    EXPECT_FALSE(ProcessUsage::read(43, kUnit, fake.proc(), fake.cgroups()));
}

TEST(ProcessUsageTest, ThisProcessReadsFromTheRealProc) {
    const auto usage = ProcessUsage::read(QCoreApplication::applicationPid(), QString());
    ASSERT_TRUE(usage);
    EXPECT_GT(usage->memoryBytes, 0u);
}
