#include "ModuleBundleFixture.h"
#include "ModuleRunnerFixture.h"
#include "OvrelHub/signature/ModuleSignatureVerifier.h"
#include "Platform/codesign/CodeSigner.h"
#include "Platform/codesign/SigningIdentity.h"
#include "Platform/system/SystemLog.h"

#include <QFileInfo>

using namespace ovrel;
using namespace ovrel::test;

namespace {

const QString kClock = QStringLiteral("clock");
const QString kRefused =
    QStringLiteral("Ovrel: module clock không qua được xác minh chữ ký — không mở");

// The runner with the real signature check, over bundles signed at test time.
class ModuleRunnerCodeSigning : public ModuleRunnerTest {
protected:
    QString installSigned(const SigningIdentity& signer, const QString& signedAs = kClock) {
        BundleSpec spec;
        spec.id = signedAs;
        spec.manifest = manifestFor(kClock);
        const QString bundle = writeModuleBundle(paths.moduleDir(kClock), spec);
        CodeSigner::sign(bundle, signer);
        record(kClock, spec.appName);
        return bundle;
    }

    std::unique_ptr<ModuleRunner> freshRunner() {
        return std::make_unique<ModuleRunner>(paths, store, signatures, workspace,
                                              recordingHooks());
    }

    SigningIdentity accepted = SigningIdentity::create(QStringLiteral("Accepted modules"));
    ModuleSignatureVerifier signatures{QStringList{accepted.leafHash()}};
};

} // namespace

TEST_F(ModuleRunnerCodeSigning, SignedBundleOpensAndAChangedResourceIsRefused) {
    const QString bundle = installSigned(accepted);
    const auto runner = freshRunner();
    runner->send(QStringLiteral("open"), std::nullopt, kClock);
    ASSERT_EQ(workspace.openRequests.size(), 1);
    ASSERT_TRUE(QFile::remove(paths.inboxFile(kClock)));

    writeFile(bundle + QStringLiteral("/Contents/Resources/icon.png"), "tampered");
    SystemLogCapture log;
    // The next run of the hub checks the bundle afresh.
    freshRunner()->send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(log.lines(), QStringList{kRefused});
    EXPECT_EQ(workspace.openRequests.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(paths.inboxFile(kClock)));
}

TEST_F(ModuleRunnerCodeSigning, ChangedProgramIsRefusedInTheSameRun) {
    const QString bundle = installSigned(accepted);
    const auto runner = freshRunner();
    runner->send(QStringLiteral("open"), std::nullopt, kClock);
    ASSERT_EQ(workspace.openRequests.size(), 1);
    ASSERT_TRUE(QFile::remove(paths.inboxFile(kClock)));

    const QString program = bundle + QStringLiteral("/Contents/MacOS/clock");
    QFile::remove(program);
    writeFile(program, "\x7f"
                       "ELF something else");
    SystemLogCapture log;
    runner->send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(log.lines(), QStringList{kRefused});
    EXPECT_EQ(workspace.openRequests.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(paths.inboxFile(kClock)));
}

TEST_F(ModuleRunnerCodeSigning, BundleOfAnotherSignerOrModuleIsRefused) {
    installSigned(SigningIdentity::create(QStringLiteral("Someone else")));
    SystemLogCapture log;
    freshRunner()->send(QStringLiteral("open"), std::nullopt, kClock);
    // Signed by the accepted identity, but as another module.
    installSigned(accepted, QStringLiteral("pulse"));
    freshRunner()->send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(log.lines(), (QStringList{kRefused, kRefused}));
    EXPECT_TRUE(workspace.openRequests.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(paths.inboxFile(kClock)));
}
