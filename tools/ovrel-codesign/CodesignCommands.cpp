#include "CodesignCommands.h"

#include "Platform/codesign/CodeSigner.h"
#include "Platform/codesign/CodeSigning.h"
#include "Platform/codesign/CodeSigningError.h"
#include "Platform/codesign/SigningIdentity.h"

#include <QCommandLineParser>
#include <cstdio>

namespace ovrel::codesign {

namespace {

const QString kDefaultIdentityName = QStringLiteral("Ovrel Module Signing");

void out(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
}
void err(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
}

QString statusText(OSStatus status) {
    return QString::number(status) + QLatin1Char(' ') + CodeSigningStatus::describe(status);
}

// Parses options and exactly `positionals` positional arguments; reports misuse.
bool parse(QCommandLineParser& parser, const char* command, const QStringList& arguments,
           qsizetype positionals) {
    QStringList argv = arguments;
    argv.prepend(QStringLiteral("ovrel-codesign ") + QLatin1String(command));
    if (!parser.parse(argv)) {
        err(QLatin1String(command) + QStringLiteral(": ") + parser.errorText());
        return false;
    }
    if (parser.positionalArguments().size() != positionals) {
        err(QLatin1String(command) + QStringLiteral(": expected ") + QString::number(positionals) +
            QStringLiteral(" bundle argument(s)"));
        return false;
    }
    return true;
}

std::optional<StaticCodeRef> openCode(const QString& bundle) {
    StaticCodeRef code;
    const OSStatus status =
        CodeSigning::platform().createStaticCode(bundle, CodeSigningFlag::kDefault, code);
    if (status != CodeSigningStatus::errSecSuccess) {
        err(bundle + QStringLiteral(": ") + statusText(status));
        return std::nullopt;
    }
    return code;
}

} // namespace

int makeIdentity(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption outOption(QStringLiteral("out"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption nameOption(QStringLiteral("name"), QString(), QStringLiteral("NAME"),
                                        kDefaultIdentityName);
    parser.addOptions({outOption, nameOption});
    if (!parse(parser, "make-identity", arguments, 0))
        return kExitUsage;
    if (!parser.isSet(outOption)) {
        err(QStringLiteral("make-identity: --out DIR is required"));
        return kExitUsage;
    }
    try {
        const SigningIdentity identity = SigningIdentity::create(parser.value(nameOption));
        identity.save(parser.value(outOption));
        out(identity.leafHash());
        return kExitOk;
    } catch (const CodeSigningError& error) {
        err(QStringLiteral("make-identity: ") + error.description());
        return kExitFailed;
    }
}

int sign(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption identityOption(QStringLiteral("identity"), QString(),
                                            QStringLiteral("DIR"));
    const QCommandLineOption identifierOption(QStringLiteral("identifier"), QString(),
                                              QStringLiteral("ID"));
    parser.addOptions({identityOption, identifierOption});
    if (!parse(parser, "sign", arguments, 1))
        return kExitUsage;
    if (!parser.isSet(identityOption)) {
        err(QStringLiteral("sign: --identity DIR is required"));
        return kExitUsage;
    }
    const QString bundle = parser.positionalArguments().constFirst();
    try {
        const SigningIdentity identity = SigningIdentity::load(parser.value(identityOption));
        CodeSigner::sign(bundle, identity, parser.value(identifierOption));
        out(bundle + QStringLiteral(": signed by leaf ") + identity.leafHash());
        return kExitOk;
    } catch (const CodeSigningError& error) {
        err(bundle + QStringLiteral(": ") + error.description());
        return kExitFailed;
    }
}

int verify(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption requirementOption(QStringLiteral("requirement"), QString(),
                                               QStringLiteral("TEXT"));
    parser.addOption(requirementOption);
    if (!parse(parser, "verify", arguments, 1))
        return kExitUsage;
    const QString bundle = parser.positionalArguments().constFirst();
    const CodeSigning& platform = CodeSigning::platform();
    CodeRequirementRef requirement;
    if (parser.isSet(requirementOption)) {
        const OSStatus status = platform.createRequirement(parser.value(requirementOption),
                                                           CodeSigningFlag::kDefault, requirement);
        if (status != CodeSigningStatus::errSecSuccess) {
            err(QStringLiteral("requirement: ") + statusText(status));
            return kExitFailed;
        }
    }
    const auto code = openCode(bundle);
    if (!code)
        return kExitFailed;
    const OSStatus status =
        platform.checkValidity(**code, CodeSigningFlag::kCheckAllArchitectures, requirement.get());
    if (status != CodeSigningStatus::errSecSuccess) {
        err(bundle + QStringLiteral(": ") + statusText(status));
        return kExitFailed;
    }
    out(bundle + QStringLiteral(": valid on disk"));
    if (requirement)
        out(bundle + QStringLiteral(": satisfies the requirement"));
    return kExitOk;
}

int display(const QStringList& arguments) {
    QCommandLineParser parser;
    if (!parse(parser, "display", arguments, 1))
        return kExitUsage;
    const QString bundle = parser.positionalArguments().constFirst();
    const auto code = openCode(bundle);
    if (!code)
        return kExitFailed;
    SigningInformation info;
    const OSStatus status = CodeSigning::platform().copySigningInformation(**code, info);
    if (status != CodeSigningStatus::errSecSuccess) {
        err(bundle + QStringLiteral(": ") + statusText(status));
        return kExitFailed;
    }
    out(QStringLiteral("Identifier=") + info.identifier);
    out(QStringLiteral("LeafHash=") + info.leafHash);
    out(QStringLiteral("LeafSubject=") + info.leafSubject);
    out(QStringLiteral("CodeDirectoryHash=") + QString::fromLatin1(info.codeDirectoryHash.toHex()));
    out(QStringLiteral("Files=") + QString::number(info.files.size()));
    for (const QString& file : info.files)
        out(QStringLiteral("  ") + file);
    return kExitOk;
}

} // namespace ovrel::codesign
