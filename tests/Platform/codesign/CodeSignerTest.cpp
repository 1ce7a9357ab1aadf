#include "Platform/codesign/CodeSigner.h"
#include "ModuleBundleFixture.h"
#include "Platform/codesign/CodeSigning.h"
#include "Platform/codesign/CodeSigningError.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ovrel;
using ovrel::test::TempDir;
using Kind = CodeSigningError::Kind;

namespace {

class CodeSignerTest : public ::testing::Test {
protected:
    void SetUp() override { bundle = test::writeModuleBundle(dir.path()); }

    QString at(const QString& relative) const { return bundle + QLatin1Char('/') + relative; }

    // The kind the signer refuses with; also checks that nothing was written.
    std::optional<Kind> refusal(const QString& identifier = {}) const {
        try {
            CodeSigner::sign(bundle, identity, identifier);
        } catch (const CodeSigningError& error) {
            EXPECT_FALSE(QFileInfo::exists(at("Contents/_CodeSignature")));
            return error.kind();
        }
        return std::nullopt;
    }

    void writeInfo(const QVariantMap& keys) const {
        test::writeFile(at("Contents/Info.plist"), PlistCodec::toXml(keys));
    }

    TempDir dir;
    SigningIdentity identity = SigningIdentity::create(QStringLiteral("Signer"));
    QString bundle;
};

} // namespace

TEST_F(CodeSignerTest, InfoPlistMustNameAnExecutableAndAnIdentifier) {
    const QByteArray info = test::readFile(at("Contents/Info.plist"));
    QFile::remove(at("Contents/Info.plist"));
    EXPECT_EQ(refusal(), Kind::infoPlistInvalid);

    test::writeFile(at("Contents/Info.plist"), info.left(info.size() / 2));
    EXPECT_EQ(refusal(), Kind::infoPlistInvalid);

    for (const QVariant& executable :
         {QVariant(), QVariant(QStringLiteral("../clock")), QVariant(QStringLiteral("..")),
          QVariant(QString()), QVariant(42)}) {
        QVariantMap keys{{"CFBundleIdentifier", "vn.ovrel.module.clock"}};
        if (executable.isValid())
            keys.insert("CFBundleExecutable", executable);
        writeInfo(keys);
        EXPECT_EQ(refusal(), Kind::infoPlistInvalid) << executable.toString().toStdString();
    }

    writeInfo({{"CFBundleExecutable", "clock"}});
    EXPECT_EQ(refusal(), Kind::infoPlistInvalid);
    // An identifier given by the signer replaces the missing one.
    EXPECT_EQ(refusal(QStringLiteral("vn.ovrel.module.clock")), std::nullopt);
}

TEST_F(CodeSignerTest, ExecutableMustBeARegularFileInMacOS) {
    QFile::remove(at("Contents/MacOS/clock"));
    EXPECT_EQ(refusal(), Kind::executableMissing);
    ASSERT_TRUE(QDir().mkpath(at("Contents/MacOS/clock")));
    EXPECT_EQ(refusal(), Kind::executableMissing);
}

TEST_F(CodeSignerTest, RefusesWhatASealCannotCover) {
    test::writeFile(at("README"), "beside Contents");
    EXPECT_EQ(refusal(), Kind::unsupportedEntry);
    QFile::remove(at("README"));

    ASSERT_EQ(::mkfifo(QFile::encodeName(at("Contents/Resources/pipe")).constData(), 0600), 0);
    EXPECT_EQ(refusal(), Kind::unsupportedEntry);
    QFile::remove(at("Contents/Resources/pipe"));

    test::writeFile(at("Contents/Resources/bad\nname"), "x");
    EXPECT_EQ(refusal(), Kind::unsupportedEntry);
    QFile::remove(at("Contents/Resources/bad\nname"));

    test::writeFile(at("Contents/_CodeSignature/CodeRequirements"), "x");
    try {
        CodeSigner::sign(bundle, identity);
        ADD_FAILURE() << "signed with a stranger in _CodeSignature";
    } catch (const CodeSigningError& error) {
        EXPECT_EQ(error.kind(), Kind::unsupportedEntry);
    }
}

TEST_F(CodeSignerTest, RefusesLinksLeadingOutOfTheBundle) {
    const QStringList targets = {dir.file("elsewhere"), QStringLiteral("../../../elsewhere"),
                                 QStringLiteral("loop")};
    for (const QString& target : targets) {
        const QString link = at("Contents/Resources/loop");
        ASSERT_TRUE(QFile::link(target, link));
        EXPECT_EQ(refusal(), Kind::escapingSymlink) << target.toStdString();
        QFile::remove(link);
    }
    // Through a link to an ancestor: lexically inside, really outside.
    ASSERT_TRUE(QFile::link(QStringLiteral(".."), at("Contents/Resources/up")));
    ASSERT_TRUE(QFile::link(QStringLiteral("up/../../../x"), at("Contents/Resources/escape")));
    EXPECT_EQ(refusal(), Kind::escapingSymlink);
}

TEST_F(CodeSignerTest, NotABundleIsUnreadable) {
    EXPECT_THROW(CodeSigner::sign(dir.file("missing.app"), identity), CodeSigningError);
    ASSERT_TRUE(QDir().mkpath(dir.file("Empty.app")));
    try {
        CodeSigner::sign(dir.file("Empty.app"), identity);
        FAIL() << "signed a directory without Contents";
    } catch (const CodeSigningError& error) {
        EXPECT_EQ(error.kind(), Kind::bundleUnreadable);
        EXPECT_EQ(error.description(),
                  QStringLiteral("bundle unreadable: ") + dir.file("Empty.app"));
    }
}

TEST_F(CodeSignerTest, ResigningAfterAChangeMakesTheBundleValidAgain) {
    CodeSigner::sign(bundle, identity);
    test::writeFile(at("Contents/Resources/added.txt"), "new");
    StaticCodeRef code;
    ASSERT_EQ(CodeSigning::platform().createStaticCode(bundle, 0, code), 0);
    EXPECT_EQ(CodeSigning::platform().checkValidity(*code, 0, nullptr),
              CodeSigningStatus::errSecCSBadResource);
    CodeSigner::sign(bundle, identity, QStringLiteral("vn.ovrel.module.other"));
    EXPECT_EQ(CodeSigning::platform().checkValidity(*code, 0, nullptr),
              CodeSigningStatus::errSecSuccess);
    SigningInformation info;
    ASSERT_EQ(CodeSigning::platform().copySigningInformation(*code, info), 0);
    EXPECT_EQ(info.identifier, QStringLiteral("vn.ovrel.module.other"));
    EXPECT_TRUE(info.files.contains(QStringLiteral("Resources/added.txt")));
}
