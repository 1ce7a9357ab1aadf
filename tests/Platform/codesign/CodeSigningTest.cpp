#include "Platform/codesign/CodeSigning.h"
#include "ModuleBundleFixture.h"
#include "Platform/bundle/BundleDirectory.h"
#include "Platform/codesign/CodeDirectory.h"
#include "Platform/codesign/CodeSignatureFile.h"
#include "Platform/codesign/CodeSigner.h"
#include "Platform/codesign/SigningIdentity.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ovrel;
using namespace ovrel::CodeSigningStatus;
using ovrel::test::TempDir;

namespace {

const QString kClock = QStringLiteral("vn.ovrel.module.clock");

// Writes a CodeSignature for whatever the bundle holds now, CodeResources
// included, as a careless or hostile holder of a real key could.
void signAsIs(const QString& bundle, const SigningIdentity& identity, const QString& identifier) {
    const auto directory = BundleDirectory::open(bundle);
    ASSERT_TRUE(directory);
    const auto computed = CodeDirectory::compute(*directory, identifier);
    ASSERT_TRUE(computed);
    CodeSignatureFile file;
    file.identifier = identifier;
    file.codeDirectoryHash = computed->hash;
    file.certificates = {identity.certificateDer()};
    file.signature = identity.sign(CodeDirectory::signedMessage(computed->hash));
    test::writeFile(bundle + QStringLiteral("/Contents/_CodeSignature/CodeSignature"),
                    file.toPlist());
}

class CodeSigningTest : public ::testing::Test {
protected:
    void SetUp() override {
        bundle = test::writeModuleBundle(dir.path());
        CodeSigner::sign(bundle, identity);
    }

    QString at(const QString& relative) const { return bundle + QLatin1Char('/') + relative; }

    OSStatus check(const QString& requirementText = {}) const {
        const CodeSigning& platform = CodeSigning::platform();
        StaticCodeRef code;
        if (const OSStatus s = platform.createStaticCode(bundle, 0, code); s != errSecSuccess)
            return s;
        CodeRequirementRef requirement;
        if (!requirementText.isEmpty()) {
            if (const OSStatus s = platform.createRequirement(requirementText, 0, requirement);
                s != errSecSuccess)
                return s;
        }
        return platform.checkValidity(*code, CodeSigningFlag::kCheckAllArchitectures,
                                      requirement.get());
    }

    CodeSignatureFile signatureFile() const {
        return *CodeSignatureFile::parse(
            test::readFile(at(QStringLiteral("Contents/_CodeSignature/CodeSignature"))));
    }
    void writeSignatureFile(const CodeSignatureFile& file) const {
        test::writeFile(at(QStringLiteral("Contents/_CodeSignature/CodeSignature")),
                        file.toPlist());
    }

    TempDir dir;
    SigningIdentity identity = SigningIdentity::create(QStringLiteral("Test Signer"));
    QString bundle;
};

QString requirementFor(const QString& identifier, const QString& hash) {
    return QStringLiteral("identifier \"%1\" and certificate leaf = H\"%2\"").arg(identifier, hash);
}

} // namespace

TEST_F(CodeSigningTest, SignedBundleIsValidAndMeetsOnlyItsOwnRequirement) {
    EXPECT_EQ(check(), errSecSuccess);
    EXPECT_EQ(check(requirementFor(kClock, identity.leafHash())), errSecSuccess);
    const SigningIdentity other = SigningIdentity::create(QStringLiteral("Someone Else"));
    EXPECT_EQ(check(requirementFor(kClock, other.leafHash())), errSecCSReqFailed);
    EXPECT_EQ(check(requirementFor(QStringLiteral("vn.ovrel.module.pulse"), identity.leafHash())),
              errSecCSReqFailed);
}

TEST_F(CodeSigningTest, SigningInformationNamesSignerAndEverySealedFile) {
    const CodeSigning& platform = CodeSigning::platform();
    StaticCodeRef code;
    ASSERT_EQ(platform.createStaticCode(bundle, 0, code), errSecSuccess);
    SigningInformation info;
    ASSERT_EQ(platform.copySigningInformation(*code, info), errSecSuccess);
    EXPECT_EQ(info.identifier, kClock);
    EXPECT_EQ(info.leafHash, identity.leafHash());
    EXPECT_EQ(info.leafHash, QString::fromLatin1(Crypto::sha1(identity.certificateDer()).toHex()));
    EXPECT_TRUE(info.leafSubject.contains(QStringLiteral("Test Signer")));
    EXPECT_EQ(info.codeDirectoryHash.size(), 32);
    EXPECT_EQ(info.files, QStringList({"Info.plist", "MacOS/clock", "Resources/icon.png",
                                       "Resources/manifest.json"}));
}

TEST_F(CodeSigningTest, SealedResourcesChangedAddedOrRemovedAreBadResources) {
    test::writeFile(at("Contents/Resources/icon.png"), "another icon");
    EXPECT_EQ(check(), errSecCSBadResource);
    CodeSigner::sign(bundle, identity);
    ASSERT_EQ(check(), errSecSuccess);

    test::writeFile(at("Contents/Resources/extra.txt"), "");
    EXPECT_EQ(check(), errSecCSBadResource);
    QFile::remove(at("Contents/Resources/extra.txt"));
    ASSERT_EQ(check(), errSecSuccess);

    QFile::remove(at("Contents/Resources/manifest.json"));
    EXPECT_EQ(check(), errSecCSBadResource);
}

TEST_F(CodeSigningTest, UnsealedPlacesCannotHoldFilesEither) {
    test::writeFile(at("payload.sh"), "#!/bin/sh\n");
    EXPECT_EQ(check(), errSecCSBadResource);
    QFile::remove(at("payload.sh"));

    test::writeFile(at("Contents/_CodeSignature/extra"), "x");
    EXPECT_EQ(check(), errSecCSBadResource);
    QFile::remove(at("Contents/_CodeSignature/extra"));

    // A directory holds nothing to seal.
    ASSERT_TRUE(QDir().mkpath(at("Contents/Resources/empty")));
    EXPECT_EQ(check(), errSecSuccess);
}

TEST_F(CodeSigningTest, ChangedOrMissingCodeIsASignatureFailure) {
    const QByteArray program = test::readFile(at("Contents/MacOS/clock"));
    test::writeFile(at("Contents/MacOS/clock"), program + "!");
    EXPECT_EQ(check(), errSecCSSignatureFailed);
    QFile::remove(at("Contents/MacOS/clock"));
    EXPECT_EQ(check(), errSecCSSignatureFailed);
    test::writeFile(at("Contents/MacOS/clock"), program);
    ASSERT_EQ(check(), errSecSuccess);

    const QByteArray info = test::readFile(at("Contents/Info.plist"));
    test::writeFile(at("Contents/Info.plist"), info + "\n");
    EXPECT_EQ(check(), errSecCSSignatureFailed);
    QFile::remove(at("Contents/Info.plist"));
    EXPECT_EQ(check(), errSecCSSignatureFailed);
    test::writeFile(at("Contents/Info.plist"), info);
    ASSERT_EQ(check(), errSecSuccess);

    // Sealing an added file into CodeResources without the key breaks the code directory.
    test::writeFile(at("Contents/Resources/extra.txt"), "x");
    auto seal =
        PlistCodec::parse(test::readFile(at("Contents/_CodeSignature/CodeResources")))->toMap();
    auto files = seal.value("files2").toMap();
    files.insert("Resources/extra.txt", QVariantMap{{"hash2", Crypto::sha256("x")}});
    seal.insert("files2", files);
    test::writeFile(at("Contents/_CodeSignature/CodeResources"), PlistCodec::toXml(seal));
    EXPECT_EQ(check(), errSecCSSignatureFailed);
}

TEST_F(CodeSigningTest, TamperedSignatureFileIsASignatureFailure) {
    const CodeSignatureFile original = signatureFile();

    CodeSignatureFile file = original;
    file.codeDirectoryHash[0] = static_cast<char>(file.codeDirectoryHash[0] ^ 1);
    writeSignatureFile(file);
    EXPECT_EQ(check(), errSecCSSignatureFailed);

    file = original;
    file.signature[5] = static_cast<char>(file.signature[5] ^ 0x40);
    writeSignatureFile(file);
    EXPECT_EQ(check(), errSecCSSignatureFailed);

    // Claiming another module's identifier does not survive the code directory.
    file = original;
    file.identifier = QStringLiteral("vn.ovrel.module.pulse");
    writeSignatureFile(file);
    EXPECT_EQ(check(), errSecCSSignatureFailed);

    // Putting an accepted certificate in front of a foreign signature.
    const SigningIdentity other = SigningIdentity::create(QStringLiteral("Other"));
    file = original;
    file.certificates = {other.certificateDer()};
    writeSignatureFile(file);
    EXPECT_EQ(check(), errSecCSSignatureFailed);

    writeSignatureFile(original);
    EXPECT_EQ(check(), errSecSuccess);
}

TEST_F(CodeSigningTest, MissingOrMalformedSignatureMeansUnsigned) {
    TempDir fresh;
    const QString unsignedBundle = test::writeModuleBundle(fresh.path());
    StaticCodeRef code;
    ASSERT_EQ(CodeSigning::platform().createStaticCode(unsignedBundle, 0, code), errSecSuccess);
    EXPECT_EQ(CodeSigning::platform().checkValidity(*code, 0, nullptr), errSecCSUnsigned);
    SigningInformation info;
    EXPECT_EQ(CodeSigning::platform().copySigningInformation(*code, info), errSecCSUnsigned);

    const QString signaturePath = at("Contents/_CodeSignature/CodeSignature");
    const QByteArray valid = test::readFile(signaturePath);
    const QList<QByteArray> malformed = {
        QByteArray(),
        QByteArray("not a property list"),
        valid.left(valid.size() / 2),
        PlistCodec::toXml(QVariantList{1, 2}),
        PlistCodec::toXml(QVariantMap{{"identifier", kClock},
                                      {"codeDirectoryHash", QStringLiteral("text")},
                                      {"certificates", QVariantList{identity.certificateDer()}},
                                      {"signature", QByteArray(64, 'x')}}),
        PlistCodec::toXml(QVariantMap{{"identifier", kClock},
                                      {"codeDirectoryHash", QByteArray(32, 'h')},
                                      {"certificates", QVariantList{}},
                                      {"signature", QByteArray(64, 'x')}}),
        PlistCodec::toXml(QVariantMap{{"identifier", kClock},
                                      {"codeDirectoryHash", QByteArray(32, 'h')},
                                      {"certificates", QVariantList{QByteArray("not DER")}},
                                      {"signature", QByteArray(64, 'x')}}),
    };
    for (const QByteArray& bytes : malformed) {
        test::writeFile(signaturePath, bytes);
        EXPECT_EQ(check(), errSecCSUnsigned) << bytes.left(60).toStdString();
    }
    QFile::remove(signaturePath);
    EXPECT_EQ(check(), errSecCSUnsigned);

    // A link in place of the signature is not followed.
    test::writeFile(dir.file("elsewhere"), valid);
    ASSERT_TRUE(QFile::link(dir.file("elsewhere"), signaturePath));
    EXPECT_EQ(check(), errSecCSUnsigned);
}

TEST_F(CodeSigningTest, WhatCannotBeOpenedAsCodeIsNotFound) {
    const CodeSigning& platform = CodeSigning::platform();
    StaticCodeRef code;
    EXPECT_EQ(platform.createStaticCode(dir.file("missing.app"), 0, code),
              errSecCSStaticCodeNotFound);
    EXPECT_EQ(platform.createStaticCode(QString(), 0, code), errSecCSStaticCodeNotFound);
    EXPECT_EQ(platform.createStaticCode(at("Contents/Info.plist"), 0, code),
              errSecCSStaticCodeNotFound);
    ASSERT_TRUE(QDir().mkpath(dir.file("Plain.app")));
    EXPECT_EQ(platform.createStaticCode(dir.file("Plain.app"), 0, code),
              errSecCSStaticCodeNotFound);
    ASSERT_TRUE(QFile::link(at("Contents"), dir.file("Plain.app/Contents")));
    EXPECT_EQ(platform.createStaticCode(dir.file("Plain.app"), 0, code),
              errSecCSStaticCodeNotFound);
    EXPECT_FALSE(code);
    EXPECT_EQ(platform.createStaticCode(bundle, CodeSigningFlag::kCheckAllArchitectures, code),
              errSecCSInvalidFlags);
}

TEST_F(CodeSigningTest, UnreadableBundleIsNotFound) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    ASSERT_EQ(::chmod(QFile::encodeName(bundle).constData(), 0), 0);
    StaticCodeRef code;
    EXPECT_EQ(CodeSigning::platform().createStaticCode(bundle, 0, code),
              errSecCSStaticCodeNotFound);
    ::chmod(QFile::encodeName(bundle).constData(), 0755);
}

TEST_F(CodeSigningTest, ForeignObjectsAndFlagsAreRefused) {
    struct OtherCode : StaticCode {};
    struct OtherRequirement : CodeRequirement {};
    const CodeSigning& platform = CodeSigning::platform();
    EXPECT_EQ(platform.checkValidity(OtherCode(), 0, nullptr), errSecCSInvalidObjectRef);
    SigningInformation info;
    EXPECT_EQ(platform.copySigningInformation(OtherCode(), info), errSecCSInvalidObjectRef);
    StaticCodeRef code;
    ASSERT_EQ(platform.createStaticCode(bundle, 0, code), errSecSuccess);
    const OtherRequirement requirement;
    EXPECT_EQ(platform.checkValidity(*code, 0, &requirement), errSecCSInvalidObjectRef);
    EXPECT_EQ(platform.checkValidity(*code, 1u << 4, nullptr), errSecCSInvalidFlags);
}

TEST_F(CodeSigningTest, InternalSymlinksAreSealedByTarget) {
    ASSERT_TRUE(QFile::link(QStringLiteral("icon.png"), at("Contents/Resources/current.png")));
    ASSERT_TRUE(QFile::link(QStringLiteral("../Resources"), at("Contents/MacOS/res")));
    CodeSigner::sign(bundle, identity);
    EXPECT_EQ(check(), errSecSuccess);

    QFile::remove(at("Contents/Resources/current.png"));
    ASSERT_TRUE(QFile::link(QStringLiteral("manifest.json"), at("Contents/Resources/current.png")));
    EXPECT_EQ(check(), errSecCSBadResource);

    QFile::remove(at("Contents/Resources/current.png"));
    test::writeFile(at("Contents/Resources/current.png"),
                    test::readFile(at("Contents/Resources/icon.png")));
    EXPECT_EQ(check(), errSecCSBadResource);
}

TEST_F(CodeSigningTest, LinksOutOfTheBundleFailEvenWhenSealed) {
    test::writeFile(dir.file("outside/secret"), "x");
    ASSERT_TRUE(QFile::link(dir.file("outside/secret"), at("Contents/Resources/abs")));
    signAsIs(bundle, identity, kClock);
    const QByteArray seal = test::readFile(at("Contents/_CodeSignature/CodeResources"));
    // Seal the link by hand, as a hostile signer would, then sign everything.
    auto parsed = PlistCodec::parse(seal)->toMap();
    auto files = parsed.value("files2").toMap();
    files.insert("Resources/abs", QVariantMap{{"symlink", dir.file("outside/secret")}});
    parsed.insert("files2", files);
    test::writeFile(at("Contents/_CodeSignature/CodeResources"), PlistCodec::toXml(parsed));
    signAsIs(bundle, identity, kClock);
    EXPECT_EQ(check(), errSecCSBadResource);
}

TEST_F(CodeSigningTest, CodeReachedThroughALinkedDirectoryIsNotRead) {
    // The same program, reached through a link to a directory elsewhere.
    ASSERT_TRUE(QDir().rename(at("Contents/MacOS"), dir.file("moved")));
    ASSERT_TRUE(QFile::link(dir.file("moved"), at("Contents/MacOS")));
    EXPECT_EQ(check(), errSecCSSignatureFailed);
}

TEST_F(CodeSigningTest, SpecialFilesAreNeverOpened) {
    const QString fifo = at("Contents/Resources/pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A FIFO opened for reading would block here for ever.
    EXPECT_EQ(check(), errSecCSBadResource);
    QFile::remove(fifo);
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("Contents/MacOS/clock.tmp")).constData(), 0600), 0);
    QFile::remove(at("Contents/MacOS/clock"));
    ASSERT_TRUE(QFile::rename(at("Contents/MacOS/clock.tmp"), at("Contents/MacOS/clock")));
    EXPECT_EQ(check(), errSecCSSignatureFailed);
}

TEST_F(CodeSigningTest, SignedButMalformedSealIsABadResource) {
    test::writeFile(at("Contents/_CodeSignature/CodeResources"), "garbage");
    signAsIs(bundle, identity, kClock);
    EXPECT_EQ(check(), errSecCSBadResource);

    test::writeFile(
        at("Contents/_CodeSignature/CodeResources"),
        PlistCodec::toXml(QVariantMap{
            {"files2", QVariantMap{{"Info.plist", QVariantMap{{"hash2", QByteArray(31, 'a')}}}}}}));
    signAsIs(bundle, identity, kClock);
    EXPECT_EQ(check(), errSecCSBadResource);
}
