#include "OvrelHub/signature/ModuleSignatureVerifier.h"

#include "OvrelHub/signature/SignatureError.h"
#include "OvrelModuleKit/paths/ModulePaths.h"

#ifndef OVREL_ACCEPTED_LEAF_HASHES
#error "OVREL_ACCEPTED_LEAF_HASHES must name the accepted leaf certificate hashes"
#endif

namespace ovrel {

ModuleSignatureVerifier::ModuleSignatureVerifier(QStringList hashes, const CodeSigning& platform)
    : m_hashes(std::move(hashes)), m_platform(&platform) {}

QString ModuleSignatureVerifier::requirement(const QString& moduleId, const QStringList& hashes) {
    QStringList clauses;
    for (const QString& hash : hashes)
        clauses.append(QStringLiteral("certificate leaf = H\"") + hash + QLatin1Char('"'));
    return QStringLiteral("identifier \"vn.ovrel.module.") + moduleId + QStringLiteral("\" and (") +
           clauses.join(QStringLiteral(" or ")) + QLatin1Char(')');
}

QStringList ModuleSignatureVerifier::acceptedLeafHashes() {
    // The build joins the list with commas (a semicolon would split the definition).
    return QString::fromLatin1(OVREL_ACCEPTED_LEAF_HASHES)
        .split(QLatin1Char(','), Qt::SkipEmptyParts);
}

void ModuleSignatureVerifier::verify(const QString& bundle, const QString& moduleId) const {
    // The id is pasted into the requirement text: refuse it before it gets there.
    if (!ModulePaths::isValidModuleId(moduleId))
        throw SignatureError::invalidRequirement();

    StaticCodeRef code;
    if (m_platform->createStaticCode(bundle, CodeSigningFlag::kDefault, code) !=
            CodeSigningStatus::errSecSuccess ||
        !code)
        throw SignatureError::cannotRead();

    CodeRequirementRef compiled;
    if (m_platform->createRequirement(requirement(moduleId, m_hashes), CodeSigningFlag::kDefault,
                                      compiled) != CodeSigningStatus::errSecSuccess ||
        !compiled)
        throw SignatureError::invalidRequirement();

    const OSStatus status =
        m_platform->checkValidity(*code, CodeSigningFlag::kCheckAllArchitectures, compiled.get());
    if (status != CodeSigningStatus::errSecSuccess)
        throw SignatureError::rejected(status);
}

} // namespace ovrel
