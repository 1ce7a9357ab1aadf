#include "Platform/bundle/BundleInfo.h"
#include "Platform/process/Workspace.h"
#include "ProbeBundle.h"

#include <QDBusConnection>
#include <QDir>
#include <QFileInfo>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace ovrel;
using Kind = WorkspaceError::Kind;

namespace {

class WorkspaceOpenApplication : public ::testing::Test {
protected:
    void TearDown() override {
        for (const auto& application : started)
            application->forceTerminate();
    }

    test::OpenOutcome open(const QString& bundlePath) {
        test::OpenOutcome outcome = test::openAndWait(workspace, bundlePath);
        if (outcome.application)
            started.push_back(outcome.application);
        return outcome;
    }

    // Opening must fail with this error, reported once, later, on the main thread.
    void expectFailure(const QString& bundlePath, const WorkspaceError& expected) {
        const test::OpenOutcome outcome = open(bundlePath);
        ASSERT_TRUE(outcome.completed);
        EXPECT_FALSE(outcome.completedSynchronously);
        EXPECT_TRUE(outcome.completedOnMainThread);
        EXPECT_EQ(outcome.completions, 1);
        EXPECT_EQ(outcome.application, nullptr);
        ASSERT_TRUE(outcome.error.has_value());
        EXPECT_EQ(outcome.error->kind(), expected.kind())
            << outcome.error->description().toStdString();
        EXPECT_EQ(outcome.error->path(), expected.path());
    }

    QString bundleAt(const QString& name) const { return temp.file(name); }

    test::TempDir temp;
    QString modulesDir = temp.file(QStringLiteral("Modules"));
    DesktopWorkspace workspace{moduleBundleLocator(modulesDir)};
    std::vector<std::shared_ptr<RunningApplication>> started;
};

QString linkTarget(const QString& path) {
    return QFileInfo(path).symLinkTarget();
}

qint64 parentOf(qint64 pid) {
    const QByteArray stat = test::readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const QByteArrayList fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() : -1;
}

} // namespace

TEST_F(WorkspaceOpenApplication, StartsTheBundleProgramDetachedAndHandsItBack) {
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "the probe needs a session bus";
    const auto bundle = test::ProbeBundle::make(modulesDir, test::uniqueModuleId("open"));
    // A descriptor the hub holds open without close-on-exec must not leak into modules.
    const QString marker = temp.file(QStringLiteral("marker"));
    test::writeFile(marker, "x");
    const int inherited = ::open(QFile::encodeName(marker).constData(), O_RDONLY);
    ASSERT_GE(inherited, 0);

    const test::OpenOutcome outcome = open(bundle.path);
    ::close(inherited);
    ASSERT_TRUE(outcome.completed);
    EXPECT_FALSE(outcome.completedSynchronously) << "openApplication returns at once";
    EXPECT_TRUE(outcome.completedOnMainThread);
    EXPECT_EQ(outcome.completions, 1);
    ASSERT_FALSE(outcome.error.has_value()) << outcome.error->description().toStdString();
    ASSERT_NE(outcome.application, nullptr);
    const RunningApplication& application = *outcome.application;
    EXPECT_EQ(application.bundleIdentifier(), bundle.identifier());
    EXPECT_EQ(application.bundlePath(), bundle.path);
    EXPECT_EQ(application.executablePath(), bundle.executable());
    EXPECT_FALSE(application.isTerminated());

    // The pid is the program's own, not that of a helper process in between.
    ASSERT_TRUE(bundle.waitForRecord("ready " + QByteArray::number(application.pid())));
    const qint64 pid = application.pid();
    EXPECT_NE(parentOf(pid), ::getpid()) << "not our child: it can never be our zombie";
    EXPECT_NE(::getsid(static_cast<pid_t>(pid)), ::getsid(0))
        << "outside our session: closing our terminal does not end it";
    EXPECT_EQ(linkTarget(QStringLiteral("/proc/%1/cwd").arg(pid)), QStringLiteral("/"));
    for (int fd = 0; fd <= 2; ++fd)
        EXPECT_EQ(linkTarget(QStringLiteral("/proc/%1/fd/%2").arg(pid).arg(fd)),
                  QStringLiteral("/dev/null"));
    const QString fdDir = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& fd :
         QDir(fdDir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System))
        EXPECT_NE(linkTarget(fdDir + QLatin1Char('/') + fd), marker)
            << "descriptor " << fd.toStdString();
}

TEST_F(WorkspaceOpenApplication, MissingOrUnreadableInfoPlistIsAnError) {
    const QString empty = bundleAt(QStringLiteral("Empty.app"));
    QDir().mkpath(empty + QStringLiteral("/Contents/MacOS"));
    expectFailure(empty,
                  {Kind::infoPlistUnreadable, empty + QStringLiteral("/Contents/Info.plist")});

    const QString garbage = bundleAt(QStringLiteral("Garbage.app"));
    test::writeFile(garbage + QStringLiteral("/Contents/Info.plist"), "<plist><dict><key>");
    expectFailure(garbage,
                  {Kind::infoPlistUnreadable, garbage + QStringLiteral("/Contents/Info.plist")});

    const QString array = bundleAt(QStringLiteral("Array.app"));
    test::writeFile(array + QStringLiteral("/Contents/Info.plist"),
                    PlistCodec::toXml(QVariantList{QStringLiteral("app-probe")}));
    expectFailure(array,
                  {Kind::infoPlistUnreadable, array + QStringLiteral("/Contents/Info.plist")});

    const QString huge = bundleAt(QStringLiteral("Huge.app"));
    test::writeFile(huge + QStringLiteral("/Contents/Info.plist"),
                    QByteArray(BundleInfo::kMaxBytes + 1, ' '));
    expectFailure(huge, {Kind::infoPlistUnreadable, huge + QStringLiteral("/Contents/Info.plist")});

    expectFailure(bundleAt(QStringLiteral("Absent.app")),
                  {Kind::infoPlistUnreadable, bundleAt(QStringLiteral("Absent.app")) +
                                                  QStringLiteral("/Contents/Info.plist")});
}

TEST_F(WorkspaceOpenApplication, ExecutableMustBeAPlainNameInsideTheBundle) {
    const QVariant names[] = {QVariant(),
                              QVariant(QString()),
                              QVariant(qint64(7)),
                              QVariant(QStringLiteral("../../../../bin/true")),
                              QVariant(QStringLiteral("..")),
                              QVariant(QStringLiteral("."))};
    int n = 0;
    for (const QVariant& name : names) {
        const QString bundle = bundleAt(QStringLiteral("Named%1.app").arg(n++));
        QVariantMap info{
            {QStringLiteral("CFBundleIdentifier"), QStringLiteral("vn.ovrel.module.x")}};
        if (name.isValid())
            info.insert(QStringLiteral("CFBundleExecutable"), name);
        test::ProbeBundle::writeInfo(bundle, info);
        expectFailure(
            bundle, {Kind::executableNotDeclared, bundle + QStringLiteral("/Contents/Info.plist")});
    }
}

TEST_F(WorkspaceOpenApplication, ExecutableThatCannotRunIsAnError) {
    const QVariantMap info{
        {QStringLiteral("CFBundleIdentifier"), QStringLiteral("vn.ovrel.module.x")},
        {QStringLiteral("CFBundleExecutable"), QStringLiteral("prog")}};
    const auto programOf = [](const QString& bundle) {
        return bundle + QStringLiteral("/Contents/MacOS/prog");
    };

    const QString missing = bundleAt(QStringLiteral("Missing.app"));
    test::ProbeBundle::writeInfo(missing, info);
    expectFailure(missing, {Kind::executableMissing, programOf(missing)});

    const QString plain = bundleAt(QStringLiteral("Plain.app"));
    test::ProbeBundle::writeInfo(plain, info);
    test::ProbeBundle::copyProbe(programOf(plain));
    QFile::setPermissions(programOf(plain), QFile::ReadOwner | QFile::WriteOwner);
    expectFailure(plain, {Kind::executableNotRunnable, programOf(plain)});

    const QString folder = bundleAt(QStringLiteral("Folder.app"));
    test::ProbeBundle::writeInfo(folder, info);
    QDir().mkpath(programOf(folder));
    expectFailure(folder, {Kind::executableNotRunnable, programOf(folder)});

    // Executable by its mode, but nothing the system can execute.
    const QString junk = bundleAt(QStringLiteral("Junk.app"));
    test::ProbeBundle::writeInfo(junk, info);
    test::writeFile(programOf(junk), QByteArray(64, '\x7f'));
    QFile::setPermissions(programOf(junk), QFile::ReadOwner | QFile::ExeOwner);
    expectFailure(junk, {Kind::launchFailed, programOf(junk)});
}

TEST(WorkspaceError, DescriptionNamesKindPathAndReason) {
    const WorkspaceError error(WorkspaceError::Kind::executableMissing, "/m/A.app/Contents/MacOS/a",
                               "No such file or directory");
    EXPECT_EQ(error.description(),
              "executableMissing(/m/A.app/Contents/MacOS/a): No such file or directory");
    EXPECT_EQ(WorkspaceError(WorkspaceError::Kind::launchFailed, "/p").description(),
              "launchFailed(/p)");
    EXPECT_EQ(error, WorkspaceError(error));
    EXPECT_FALSE(error == WorkspaceError(WorkspaceError::Kind::executableNotRunnable, error.path(),
                                         error.reason()));
}
