#include "OvrelHub/signature/ModuleSignatureVerifier.h"
#include "ModuleBundleFixture.h"
#include "OvrelHub/signature/SignatureError.h"
#include "Platform/codesign/CodeSigner.h"
#include "Platform/codesign/SigningIdentity.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace ovrel;
using namespace ovrel::CodeSigningStatus;
using ovrel::test::TempDir;

namespace ovrel {
void PrintTo(const SignatureError& error, std::ostream* os) {
    *os << error.what();
}
} // namespace ovrel

namespace {

// Stands in for the platform: records what the verifier asks and answers
// with fixed statuses.
class RecordingCodeSigning : public CodeSigning {
public:
    struct Code : StaticCode {};
    struct Requirement : CodeRequirement {};

    OSStatus createStaticCode(const QString& path, CodeSigningFlags flags,
                              StaticCodeRef& code) const override {
        ++calls;
        paths.append(path);
        staticCodeFlags = flags;
        if (staticCodeStatus == errSecSuccess)
            code = std::make_shared<Code>();
        return staticCodeStatus;
    }
    OSStatus createRequirement(const QString& text, CodeSigningFlags,
                               CodeRequirementRef& requirement) const override {
        ++calls;
        requirementText = text;
        requirement = std::make_shared<Requirement>();
        return errSecSuccess;
    }
    OSStatus checkValidity(const StaticCode&, CodeSigningFlags flags,
                           const CodeRequirement* requirement) const override {
        ++calls;
        validityFlags = flags;
        sawRequirement = requirement != nullptr;
        return validityStatus;
    }
    OSStatus copySigningInformation(const StaticCode&, SigningInformation&) const override {
        ++calls;
        return errSecSuccess;
    }

    OSStatus staticCodeStatus = errSecSuccess;
    OSStatus validityStatus = errSecSuccess;
    mutable int calls = 0;
    mutable QStringList paths;
    mutable QString requirementText;
    mutable CodeSigningFlags staticCodeFlags = 99;
    mutable CodeSigningFlags validityFlags = 99;
    mutable bool sawRequirement = false;
};

std::optional<SignatureError> failure(const ModuleSignatureVerifier& verifier,
                                      const QString& bundle, const QString& id) {
    try {
        verifier.verify(bundle, id);
    } catch (const SignatureError& error) {
        return error;
    }
    return std::nullopt;
}

class ModuleSignatureVerifierTest : public ::testing::Test {
protected:
    QString signedBundle(const QString& id, const SigningIdentity& signer,
                         const QString& appName = QStringLiteral("Clock.app")) {
        test::BundleSpec spec;
        spec.id = id;
        spec.appName = appName;
        const QString bundle = test::writeModuleBundle(dir.path(), spec);
        CodeSigner::sign(bundle, signer);
        return bundle;
    }

    TempDir dir;
    SigningIdentity accepted = SigningIdentity::create(QStringLiteral("Accepted"));
    ModuleSignatureVerifier verifier{QStringList{accepted.leafHash()}};
};

} // namespace

TEST(ModuleSignatureVerifierRequirement, IsBuiltFromTheIdAndEveryHashInOrder) {
    const QString a = QString(40, QLatin1Char('a'));
    const QString b = QStringLiteral("0123456789abcdef0123456789abcdef01234567");
    EXPECT_EQ(ModuleSignatureVerifier::requirement(QStringLiteral("clock"), {a}),
              QStringLiteral("identifier \"vn.ovrel.module.clock\" and (certificate leaf = H\"") +
                  a + QStringLiteral("\")"));
    EXPECT_EQ(ModuleSignatureVerifier::requirement(QStringLiteral("my-mod"), {b, a}),
              QStringLiteral("identifier \"vn.ovrel.module.my-mod\" and (certificate leaf = H\"") +
                  b + QStringLiteral("\" or certificate leaf = H\"") + a + QStringLiteral("\")"));
}

TEST(ModuleSignatureVerifierRequirement, AcceptedHashesAreFortyLowercaseHexDigits) {
    const QStringList hashes = ModuleSignatureVerifier::acceptedLeafHashes();
    ASSERT_FALSE(hashes.isEmpty());
    const QRegularExpression hex(QStringLiteral("^[0-9a-f]{40}$"));
    for (const QString& hash : hashes)
        EXPECT_TRUE(hex.match(hash).hasMatch()) << hash.toStdString();
    EXPECT_EQ(ModuleSignatureVerifier().hashes(), hashes);
}

TEST(ModuleSignatureVerifierRequirement, RepositoryDevelopmentIdentityIsTheConfiguredOne) {
    const SigningIdentity development =
        SigningIdentity::load(QStringLiteral(OVREL_SOURCE_DIR "/dev/identity"));
    EXPECT_EQ(development.leafHash(), QStringLiteral(OVREL_DEVELOPMENT_LEAF_HASH));

    // A development build runs what the development identity signed; a build
    // configured with other hashes refuses it.
    TempDir dir;
    const QString bundle = test::writeModuleBundle(dir.path());
    CodeSigner::sign(bundle, development);
    const auto error = failure(ModuleSignatureVerifier(), bundle, QStringLiteral("clock"));
    if (ModuleSignatureVerifier::acceptedLeafHashes().contains(development.leafHash()))
        EXPECT_EQ(error, std::nullopt);
    else
        EXPECT_EQ(error, SignatureError::rejected(errSecCSReqFailed));
}

TEST_F(ModuleSignatureVerifierTest, BundleSignedByAnAcceptedCertificatePasses) {
    const QString bundle = signedBundle(QStringLiteral("clock"), accepted);
    EXPECT_EQ(failure(verifier, bundle, QStringLiteral("clock")), std::nullopt);
    const ModuleSignatureVerifier several(
        {SigningIdentity::create(QStringLiteral("Old")).leafHash(), accepted.leafHash().toUpper()});
    EXPECT_EQ(failure(several, bundle, QStringLiteral("clock")), std::nullopt);
}

TEST_F(ModuleSignatureVerifierTest, ForeignSignerOrAnotherModulesIdentifierFailsTheRequirement) {
    const SigningIdentity stranger = SigningIdentity::create(QStringLiteral("Stranger"));
    const QString foreign = signedBundle(QStringLiteral("clock"), stranger);
    EXPECT_EQ(failure(verifier, foreign, QStringLiteral("clock")),
              SignatureError::rejected(errSecCSReqFailed));

    const QString pulse =
        signedBundle(QStringLiteral("pulse"), accepted, QStringLiteral("Pulse.app"));
    EXPECT_EQ(failure(verifier, pulse, QStringLiteral("pulse")), std::nullopt);
    EXPECT_EQ(failure(verifier, pulse, QStringLiteral("clock")),
              SignatureError::rejected(errSecCSReqFailed));
}

TEST_F(ModuleSignatureVerifierTest, ModifiedOrUnsignedBundlesAreRejectedWithThePlatformStatus) {
    const QString bundle = signedBundle(QStringLiteral("clock"), accepted);
    test::writeFile(bundle + QStringLiteral("/Contents/Resources/manifest.json"), "{}");
    EXPECT_EQ(failure(verifier, bundle, QStringLiteral("clock")),
              SignatureError::rejected(errSecCSBadResource));

    test::writeFile(bundle + QStringLiteral("/Contents/MacOS/clock"), "patched");
    EXPECT_EQ(failure(verifier, bundle, QStringLiteral("clock")),
              SignatureError::rejected(errSecCSSignatureFailed));

    QDir(bundle + QStringLiteral("/Contents/_CodeSignature")).removeRecursively();
    EXPECT_EQ(failure(verifier, bundle, QStringLiteral("clock")),
              SignatureError::rejected(errSecCSUnsigned));
}

TEST_F(ModuleSignatureVerifierTest, WhatIsNoBundleCannotBeRead) {
    EXPECT_EQ(failure(verifier, dir.file("Missing.app"), QStringLiteral("clock")),
              SignatureError::cannotRead());
    test::writeFile(dir.file("file.app"), "x");
    EXPECT_EQ(failure(verifier, dir.file("file.app"), QStringLiteral("clock")),
              SignatureError::cannotRead());
}

TEST_F(ModuleSignatureVerifierTest, InvalidIdsAreRefusedBeforeThePlatformIsAsked) {
    RecordingCodeSigning platform;
    const ModuleSignatureVerifier recorded({accepted.leafHash()}, platform);
    const QStringList ids = {QStringLiteral("Clock"),
                             QStringLiteral("clo\"ck"),
                             QStringLiteral("clock\" or identifier \"x"),
                             QString(),
                             QString(33, QLatin1Char('a')),
                             QStringLiteral("a b"),
                             QStringLiteral("a_b"),
                             QStringLiteral("h\u00e1")};
    for (const QString& id : ids) {
        EXPECT_EQ(failure(recorded, dir.path(), id), SignatureError::invalidRequirement())
            << id.toStdString();
    }
    EXPECT_EQ(platform.calls, 0);
}

TEST_F(ModuleSignatureVerifierTest, AsksThePlatformWithTheRequirementAndAllArchitectures) {
    RecordingCodeSigning platform;
    const ModuleSignatureVerifier recorded({accepted.leafHash()}, platform);
    EXPECT_EQ(failure(recorded, dir.file("X.app"), QStringLiteral("x-1")), std::nullopt);
    EXPECT_EQ(platform.paths, QStringList{dir.file("X.app")});
    EXPECT_EQ(platform.staticCodeFlags, CodeSigningFlag::kDefault);
    EXPECT_EQ(platform.requirementText,
              ModuleSignatureVerifier::requirement(QStringLiteral("x-1"), {accepted.leafHash()}));
    EXPECT_EQ(platform.validityFlags, CodeSigningFlag::kCheckAllArchitectures);
    EXPECT_TRUE(platform.sawRequirement);

    platform.validityStatus = -67030;
    EXPECT_EQ(failure(recorded, dir.file("X.app"), QStringLiteral("x-1")),
              SignatureError::rejected(-67030));
    platform.staticCodeStatus = errSecCSStaticCodeNotFound;
    EXPECT_EQ(failure(recorded, dir.file("X.app"), QStringLiteral("x-1")),
              SignatureError::cannotRead());
}

TEST_F(ModuleSignatureVerifierTest, RequirementThatCannotCompileIsInvalid) {
    const QString bundle = signedBundle(QStringLiteral("clock"), accepted);
    EXPECT_EQ(failure(ModuleSignatureVerifier(QStringList{}), bundle, QStringLiteral("clock")),
              SignatureError::invalidRequirement());
    EXPECT_EQ(failure(ModuleSignatureVerifier({QStringLiteral("abc\" or true")}), bundle,
                      QStringLiteral("clock")),
              SignatureError::invalidRequirement());
}

TEST_F(ModuleSignatureVerifierTest, ConcurrentChecksAgree) {
    const QString bundle = signedBundle(QStringLiteral("clock"), accepted);
    std::atomic<int> passed{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] {
            if (!failure(verifier, bundle, QStringLiteral("clock")))
                ++passed;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(passed, 4);
}

TEST(SignatureError, EqualityComparesCaseAndStatus) {
    EXPECT_EQ(SignatureError::rejected(-67050), SignatureError::rejected(-67050));
    EXPECT_NE(SignatureError::rejected(-67050), SignatureError::rejected(-67054));
    EXPECT_NE(SignatureError::cannotRead(), SignatureError::invalidRequirement());
    EXPECT_NE(SignatureError::rejected(0), SignatureError::cannotRead());
    EXPECT_EQ(SignatureError::cannotRead().status(), 0);
    EXPECT_EQ(SignatureError::rejected(-67050).description(), QStringLiteral("rejected(-67050)"));
    EXPECT_EQ(SignatureError::cannotRead().description(), QStringLiteral("cannotRead"));
    EXPECT_EQ(SignatureError::invalidRequirement().description(),
              QStringLiteral("invalidRequirement"));
    EXPECT_STREQ(SignatureError::rejected(-67062).what(), "rejected(-67062)");
}
