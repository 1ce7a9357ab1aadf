#include "ModuleBundleFixture.h"
#include "Platform/codesign/SigningIdentity.h"
#include "TestSupport.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace ovrel;
using ovrel::test::TempDir;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(OVREL_CODESIGN_TOOL), arguments);
    ToolRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "ovrel-codesign did not finish: " << process.errorString().toStdString();
        process.kill();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString requirementFor(const QString& hash) {
    return QStringLiteral("identifier \"vn.ovrel.module.clock\" and (certificate leaf = H\"%1\")")
        .arg(hash);
}

} // namespace

TEST(CodesignTool, MakeIdentitySignVerifyAndDisplayRoundTrip) {
    TempDir dir;
    const QString identityDir = dir.file("identity");
    const ToolRun made = runTool({"make-identity", "--out", identityDir, "--name", "Tool Test"});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QString hash = made.out.trimmed();
    EXPECT_EQ(hash, SigningIdentity::load(identityDir).leafHash());

    const QString bundle = test::writeModuleBundle(dir.path());
    const ToolRun signedRun = runTool({"sign", "--identity", identityDir, bundle});
    ASSERT_EQ(signedRun.exitCode, 0) << signedRun.err.toStdString();

    const ToolRun valid = runTool({"verify", "--requirement", requirementFor(hash), bundle});
    EXPECT_EQ(valid.exitCode, 0) << valid.err.toStdString();
    EXPECT_TRUE(valid.out.contains(QStringLiteral("satisfies the requirement")));

    const ToolRun foreign =
        runTool({"verify", "--requirement", requirementFor(QString(40, QLatin1Char('a'))), bundle});
    EXPECT_NE(foreign.exitCode, 0);
    EXPECT_TRUE(foreign.err.contains(QStringLiteral("-67050"))) << foreign.err.toStdString();

    const ToolRun shown = runTool({"display", bundle});
    ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.out.contains(QStringLiteral("Identifier=vn.ovrel.module.clock\n")));
    EXPECT_TRUE(shown.out.contains(QStringLiteral("LeafHash=") + hash + QLatin1Char('\n')));
    EXPECT_TRUE(shown.out.contains(QStringLiteral("  Resources/manifest.json\n")));

    test::writeFile(bundle + QStringLiteral("/Contents/Resources/manifest.json"), "{}");
    const ToolRun changed = runTool({"verify", bundle});
    EXPECT_NE(changed.exitCode, 0);
    EXPECT_TRUE(changed.err.contains(QStringLiteral("-67054"))) << changed.err.toStdString();
}

TEST(CodesignTool, RefusesMisuseAndNeverOverwritesAnIdentity) {
    TempDir dir;
    ASSERT_EQ(runTool({"make-identity", "--out", dir.file("id")}).exitCode, 0);
    const QByteArray key = test::readFile(dir.file("id/key.pem"));
    EXPECT_EQ(runTool({"make-identity", "--out", dir.file("id")}).exitCode, 1);
    EXPECT_EQ(test::readFile(dir.file("id/key.pem")), key);

    EXPECT_EQ(runTool({}).exitCode, 2);
    EXPECT_EQ(runTool({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(runTool({"make-identity"}).exitCode, 2);
    EXPECT_EQ(runTool({"sign", dir.file("X.app")}).exitCode, 2);
    EXPECT_EQ(runTool({"verify"}).exitCode, 2);

    const ToolRun badRequirement =
        runTool({"verify", "--requirement", "identifier \"a\" or true", dir.path()});
    EXPECT_EQ(badRequirement.exitCode, 1);
    EXPECT_TRUE(badRequirement.err.contains(QStringLiteral("-67052")));

    const ToolRun missing = runTool({"verify", dir.file("missing.app")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("-67068")));

    const QString bundle = test::writeModuleBundle(dir.path());
    const ToolRun unsignedRun = runTool({"display", bundle});
    EXPECT_EQ(unsignedRun.exitCode, 1);
    EXPECT_TRUE(unsignedRun.err.contains(QStringLiteral("-67062")));
}
