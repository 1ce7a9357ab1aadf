#include "Platform/codesign/CompiledRequirement.h"
#include "Platform/codesign/CodeSigning.h"

#include <gtest/gtest.h>

using namespace ovrel;

namespace {

const QString kHashA = QStringLiteral("0123456789abcdef0123456789abcdef01234567");
const QString kHashB = QStringLiteral("fedcba9876543210fedcba9876543210fedcba98");

std::shared_ptr<const CompiledRequirement> compile(const QString& text) {
    return CompiledRequirement::compile(text);
}

QString leaf(const QString& hash) {
    return QStringLiteral("certificate leaf = H\"%1\"").arg(hash);
}

} // namespace

TEST(CompiledRequirement, AcceptsTheHubsRequirementWithOneOrSeveralHashes) {
    const auto one = compile(QStringLiteral("identifier \"vn.ovrel.module.clock\" and (") +
                             leaf(kHashA) + QLatin1Char(')'));
    ASSERT_TRUE(one);
    EXPECT_TRUE(one->isSatisfiedBy(QStringLiteral("vn.ovrel.module.clock"), kHashA));
    EXPECT_FALSE(one->isSatisfiedBy(QStringLiteral("vn.ovrel.module.clock"), kHashB));
    EXPECT_FALSE(one->isSatisfiedBy(QStringLiteral("vn.ovrel.module.pulse"), kHashA));
    EXPECT_FALSE(one->isSatisfiedBy(QStringLiteral("vn.ovrel.module.clockx"), kHashA));
    EXPECT_FALSE(one->isSatisfiedBy(QStringLiteral("VN.OVREL.MODULE.CLOCK"), kHashA));

    const auto several =
        compile(QStringLiteral("identifier \"vn.ovrel.module.clock\" and (") + leaf(kHashA) +
                QStringLiteral(" or ") + leaf(kHashB) + QLatin1Char(')'));
    ASSERT_TRUE(several);
    EXPECT_TRUE(several->isSatisfiedBy(QStringLiteral("vn.ovrel.module.clock"), kHashA));
    EXPECT_TRUE(several->isSatisfiedBy(QStringLiteral("vn.ovrel.module.clock"), kHashB));
    EXPECT_FALSE(several->isSatisfiedBy(QStringLiteral("vn.ovrel.module.clock"),
                                        QString(40, QLatin1Char('0'))));
}

TEST(CompiledRequirement, AndBindsTighterThanOrAndParenthesesRegroup) {
    const QString a = QStringLiteral("identifier \"a\"");
    const QString b = QStringLiteral("identifier \"b\"");
    const auto loose =
        compile(a + QStringLiteral(" or ") + b + QStringLiteral(" and ") + leaf(kHashA));
    ASSERT_TRUE(loose);
    EXPECT_TRUE(loose->isSatisfiedBy(QStringLiteral("a"), kHashB));
    EXPECT_TRUE(loose->isSatisfiedBy(QStringLiteral("b"), kHashA));
    EXPECT_FALSE(loose->isSatisfiedBy(QStringLiteral("b"), kHashB));

    const auto grouped = compile(QLatin1Char('(') + a + QStringLiteral(" or ") + b +
                                 QStringLiteral(") and ") + leaf(kHashA));
    ASSERT_TRUE(grouped);
    EXPECT_FALSE(grouped->isSatisfiedBy(QStringLiteral("a"), kHashB));
    EXPECT_TRUE(grouped->isSatisfiedBy(QStringLiteral("a"), kHashA));
}

TEST(CompiledRequirement, HashDigitsMatchInEitherCaseAndLayoutIsFree) {
    const auto upper = compile(leaf(kHashB.toUpper()));
    ASSERT_TRUE(upper);
    EXPECT_TRUE(upper->isSatisfiedBy(QStringLiteral("x"), kHashB));
    EXPECT_TRUE(upper->isSatisfiedBy(QStringLiteral("x"), kHashB.toUpper()));

    const auto tight = compile(QStringLiteral("(identifier\"a\")and(certificate leaf=H\"") +
                               kHashA + QStringLiteral("\")"));
    ASSERT_TRUE(tight);
    EXPECT_TRUE(tight->isSatisfiedBy(QStringLiteral("a"), kHashA));
    EXPECT_TRUE(compile(QStringLiteral("\t identifier\n\"a\"\r\n")));
}

TEST(CompiledRequirement, NestingIsLimited) {
    const QString inner = QStringLiteral("identifier \"a\"");
    const int limit = CompiledRequirement::kMaxNesting;
    EXPECT_TRUE(
        compile(QString(limit, QLatin1Char('(')) + inner + QString(limit, QLatin1Char(')'))));
    EXPECT_FALSE(compile(QString(limit + 1, QLatin1Char('(')) + inner +
                         QString(limit + 1, QLatin1Char(')'))));
    // Deep enough to overflow an unguarded recursive parser.
    EXPECT_FALSE(compile(QString(100000, QLatin1Char('('))));
}

TEST(CompiledRequirement, RejectsEverythingOutsideTheLanguage) {
    const QString h = kHashA;
    const QStringList rejected = {
        QString(),
        QStringLiteral("   "),
        QStringLiteral("identifier"),
        QStringLiteral("identifier clock"),
        QStringLiteral("identifier \"\""),
        QStringLiteral("identifier \"a"),
        QStringLiteral("identifier = \"a\""),
        QStringLiteral("identifier \"a\" or true"),
        QStringLiteral("identifier \"a\" and"),
        QStringLiteral("and identifier \"a\""),
        QStringLiteral("identifier \"a\" identifier \"b\""),
        QStringLiteral("identifier \"a\" OR identifier \"b\""),
        QStringLiteral("IDENTIFIER \"a\""),
        QStringLiteral("(identifier \"a\""),
        QStringLiteral("identifier \"a\")"),
        QStringLiteral("()"),
        QStringLiteral("identifier \"a\" and ()"),
        QStringLiteral("! identifier \"a\""),
        QStringLiteral("not identifier \"a\""),
        QStringLiteral("identifier \"a\"; identifier \"b\""),
        QStringLiteral("identifier \"a\" # comment"),
        QStringLiteral("identifier \"a\\\" or identifier \\\"b\""),
        QStringLiteral("identifier \"a\nb\""),
        QStringLiteral("anchor apple"),
        QStringLiteral("anchor apple generic and identifier \"a\""),
        QStringLiteral("certificate leaf = H\"") + h.left(39) + QLatin1Char('"'),
        QStringLiteral("certificate leaf = H\"") + h + QStringLiteral("0\""),
        QStringLiteral("certificate leaf = H\"") + h.left(39) + QStringLiteral("g\""),
        QStringLiteral("certificate leaf = H\"\""),
        QStringLiteral("certificate leaf = \"") + h + QLatin1Char('"'),
        QStringLiteral("certificate leaf = H \"") + h + QLatin1Char('"'),
        QStringLiteral("certificate leaf = h\"") + h + QLatin1Char('"'),
        QStringLiteral("certificate leaf H\"") + h + QLatin1Char('"'),
        QStringLiteral("certificate root = H\"") + h + QLatin1Char('"'),
        QStringLiteral("certificate 0 = H\"") + h + QLatin1Char('"'),
        QStringLiteral("cert leaf = H\"") + h + QLatin1Char('"'),
        QStringLiteral("certificate leaf = H\"") + h + QStringLiteral("\" or"),
        QStringLiteral("identifier \"a\" and certificate leaf = H\"") + h,
    };
    for (const QString& text : rejected)
        EXPECT_FALSE(compile(text)) << text.toStdString();

    EXPECT_FALSE(compile(QStringLiteral("identifier \"") +
                         QString(CompiledRequirement::kMaxTextLength, QLatin1Char('a')) +
                         QLatin1Char('"')));
}

TEST(CompiledRequirement, PlatformReportsCompileFailureAsInvalidRequirement) {
    const CodeSigning& platform = CodeSigning::platform();
    CodeRequirementRef requirement;
    EXPECT_EQ(
        platform.createRequirement(QStringLiteral("identifier \"a\" or true"), 0, requirement),
        CodeSigningStatus::errSecCSReqInvalid);
    EXPECT_FALSE(requirement);
    EXPECT_EQ(platform.createRequirement(QStringLiteral("identifier \"a\""), 0, requirement),
              CodeSigningStatus::errSecSuccess);
    EXPECT_TRUE(requirement);
    EXPECT_EQ(platform.createRequirement(QStringLiteral("identifier \"a\""), 4, requirement),
              CodeSigningStatus::errSecCSInvalidFlags);
}
