#include "Platform/process/ProcessScanner.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace ovrel;

namespace {

QByteArray statLine(qint64 pid, const QByteArray& command, char state, quint64 startTime) {
    // pid (comm) state ppid pgrp session tty tpgid flags minflt cminflt majflt cmajflt
    // utime stime cutime cstime priority nice threads itrealvalue starttime vsize ...
    return QByteArray::number(pid) + " (" + command + ") " + state +
           " 1 1 1 0 -1 4194304 10 0 0 0 5 3 0 0 20 0 1 0 " + QByteArray::number(startTime) +
           " 1000000 200 18446744073709551615 1 1 0 0 0 0 0 0 0 17 0 0 0 0 0 0\n";
}

// A /proc look-alike: one folder per process with an "exe" link and a "stat" file.
class FakeProc {
public:
    QString root() const { return m_dir.path(); }

    void add(qint64 pid, const QString& executable, char state = 'S', quint64 startTime = 0) {
        const QString dir = m_dir.file(QString::number(pid));
        QDir().mkpath(dir);
        if (!executable.isNull())
            QFile::link(executable, dir + QStringLiteral("/exe"));
        test::writeFile(dir + QStringLiteral("/stat"),
                        statLine(pid, "probe", state, startTime ? startTime : 1000 + pid));
    }
    QString dir(qint64 pid) const { return m_dir.file(QString::number(pid)); }

private:
    test::TempDir m_dir;
};

QList<qint64> pidsOf(const QList<ProcessScanner::Match>& matches) {
    QList<qint64> pids;
    for (const auto& match : matches)
        pids.append(match.pid);
    std::sort(pids.begin(), pids.end());
    return pids;
}

const QString kBundle = QStringLiteral("/opt/ovrel-test/Modules/clock/Clock.app");
const QString kExecutable = kBundle + QStringLiteral("/Contents/MacOS/clock");

} // namespace

TEST(ProcessScanner, MatchesExecutablesInsideTheDirectoriesOnly) {
    FakeProc proc;
    proc.add(101, kExecutable, 'S', 5555);
    proc.add(102, kBundle + QStringLiteral("/Contents/Resources/helper"));
    proc.add(103, QStringLiteral("/opt/ovrel-test/Modules/pulse/Pulse.app/Contents/MacOS/pulse"));
    proc.add(104, QStringLiteral("/opt/ovrel-test/Modules/clock/Clock.app2/Contents/MacOS/clock"));
    proc.add(105, QStringLiteral("/usr/bin/ovrel-lite"));
    proc.add(106, kBundle); // the bundle folder itself is not inside it

    const ProcessScanner scanner(proc.root());
    const auto matches = scanner.executablesInside({kBundle});
    EXPECT_EQ(pidsOf(matches), (QList<qint64>{101, 102}));
    for (const auto& match : matches) {
        if (match.pid != 101)
            continue;
        EXPECT_EQ(match.startTime, 5555u);
        EXPECT_EQ(match.executablePath, kExecutable);
        EXPECT_FALSE(match.executableDeleted);
        EXPECT_EQ(match.directory, kBundle);
    }
    EXPECT_EQ(pidsOf(scanner.executablesInside({kBundle + "/", "/opt/ovrel-test/Modules/pulse"})),
              (QList<qint64>{101, 102, 103}));
    EXPECT_TRUE(scanner.executablesInside({}).isEmpty());
    EXPECT_TRUE(scanner.executablesInside({QString()}).isEmpty());
}

TEST(ProcessScanner, DeletedExecutableStillCountsUnderItsLastPath) {
    FakeProc proc;
    proc.add(201, kExecutable + QStringLiteral(" (deleted)"));
    proc.add(202, QStringLiteral("/opt/ovrel-test/Modules/clock.bak/Clock.app/Contents/MacOS/clock"
                                 " (deleted)"));
    const ProcessScanner scanner(proc.root());

    const auto matches = scanner.executablesInside({kBundle});
    ASSERT_EQ(pidsOf(matches), QList<qint64>{201});
    EXPECT_TRUE(matches[0].executableDeleted);
    EXPECT_EQ(matches[0].executablePath, kExecutable);

    EXPECT_EQ(pidsOf(scanner.executablesInside(
                  {"/opt/ovrel-test/Modules/clock", "/opt/ovrel-test/Modules/clock.bak"})),
              (QList<qint64>{201, 202}));
}

TEST(ProcessScanner, SkipsWhatIsNotARunningProcessOfThisUser) {
    FakeProc proc;
    proc.add(301, kExecutable);      // the one running instance
    proc.add(302, kExecutable, 'Z'); // zombie
    proc.add(303, kExecutable, 'X'); // dead
    proc.add(304, QString());        // no executable: kernel thread, zombie, gone
    proc.add(305, kExecutable);
    QFile::remove(proc.dir(305) + "/stat"); // vanished between the link and the stat
    proc.add(306, kExecutable);
    test::writeFile(proc.dir(306) + "/stat", "306 (probe"); // cut short
    proc.add(307, QString());
    test::writeFile(proc.dir(307) + "/exe", kExecutable.toUtf8()); // not a link
    QDir().mkpath(proc.root() + "/self");
    QFile::link(kExecutable, proc.root() + "/self/exe"); // not a process number
    test::writeFile(proc.root() + "/self/stat", statLine(1, "self", 'S', 1));
    if (::geteuid() == 0) {
        proc.add(308, kExecutable);
        ASSERT_EQ(::chown(QFile::encodeName(proc.dir(308)).constData(), 4242, 4242), 0);
    }

    EXPECT_EQ(pidsOf(ProcessScanner(proc.root()).executablesInside({kBundle})), QList<qint64>{301});
}

TEST(ProcessScanner, RootDirectoryNeverClaimsEveryProgram) {
    FakeProc proc;
    proc.add(401, kExecutable);
    EXPECT_TRUE(ProcessScanner(proc.root()).executablesInside({"/", "//", "/opt/.."}).isEmpty());
    EXPECT_TRUE(ProcessScanner(proc.root() + "/missing").executablesInside({kBundle}).isEmpty());
}

TEST(ProcessScanner, DirectoriesAreComparedInCanonicalForm) {
    test::TempDir temp;
    const QString real = temp.file("real");
    QDir().mkpath(real + "/Clock.app/Contents/MacOS");
    ASSERT_TRUE(QFile::link(real, temp.file("alias")));
    const QString realCanonical = QDir(real).canonicalPath();

    EXPECT_EQ(ProcessScanner::canonicalDirectory(temp.file("alias/Clock.app")),
              realCanonical + "/Clock.app");
    // Missing parts are kept as given below the existing, resolved part.
    EXPECT_EQ(ProcessScanner::canonicalDirectory(temp.file("alias/Gone.app/../Other.app")),
              realCanonical + "/Other.app");
    EXPECT_EQ(ProcessScanner::canonicalDirectory(temp.file("alias/clock.bak/Clock.app")),
              realCanonical + "/clock.bak/Clock.app");
    EXPECT_EQ(ProcessScanner::canonicalDirectory(QString()), QString());

    FakeProc proc;
    proc.add(501, realCanonical + "/Clock.app/Contents/MacOS/clock");
    EXPECT_EQ(pidsOf(ProcessScanner(proc.root()).executablesInside({temp.file("alias")})),
              QList<qint64>{501});
}

TEST(ProcessStat, ReadsStateAndStartTime) {
    auto stat = ProcessStat::parse(statLine(7, "clock", 'S', 123456789012ULL));
    ASSERT_TRUE(stat.has_value());
    EXPECT_EQ(stat->state, 'S');
    EXPECT_EQ(stat->startTime, 123456789012ULL);
    EXPECT_FALSE(stat->hasExited());

    // A command name may hold spaces and parentheses.
    stat = ProcessStat::parse(statLine(8, "a) Z (b", 'R', 42));
    ASSERT_TRUE(stat.has_value());
    EXPECT_EQ(stat->state, 'R');
    EXPECT_EQ(stat->startTime, 42u);

    EXPECT_TRUE(ProcessStat::parse(statLine(9, "z", 'Z', 1))->hasExited());
    EXPECT_TRUE(ProcessStat::parse(statLine(9, "x", 'X', 1))->hasExited());
}

TEST(ProcessStat, MalformedLinesGiveNoValue) {
    const QByteArray good = statLine(7, "clock", 'S', 99);
    for (const QByteArray& bad :
         {QByteArray(), QByteArray("7 clock S 1 1"), good.left(good.indexOf(" 99 ") + 1),
          QByteArray(good).replace(" 99 ", " 9x "), QByteArray(good).replace(") S ", ") SS "),
          QByteArray(good).replace(" 99 ", " -1 ")})
        EXPECT_FALSE(ProcessStat::parse(bad).has_value()) << bad.toStdString();

    const auto self = ProcessStat::read("/proc", ::getpid());
    ASSERT_TRUE(self.has_value());
    EXPECT_FALSE(self->hasExited());
    EXPECT_FALSE(ProcessStat::read("/proc", -1).has_value());
}
