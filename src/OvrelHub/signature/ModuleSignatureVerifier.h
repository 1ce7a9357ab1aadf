#pragma once

#include "OvrelHub/signature/ModuleVerifying.h"
#include "Platform/codesign/CodeSigning.h"

#include <QString>
#include <QStringList>

namespace ovrel {

// Accepts a module bundle only when it is signed by one of the accepted leaf
// certificates under the identifier "vn.ovrel.module." + its module id, and
// nothing in it changed since. Immutable: calls may run on any thread at once.
class ModuleSignatureVerifier final : public ModuleVerifying {
public:
    explicit ModuleSignatureVerifier(QStringList hashes = acceptedLeafHashes(),
                                     const CodeSigning& platform = CodeSigning::platform());

    // Throws SignatureError; never logs.
    void verify(const QString& bundle, const QString& moduleId) const override;

    // identifier "vn.ovrel.module.<id>" and (certificate leaf = H"<hash>" or ...)
    static QString requirement(const QString& moduleId, const QStringList& hashes);

    // The leaf hashes this build accepts (a build setting; by default the
    // development identity's).
    static QStringList acceptedLeafHashes();

    const QStringList& hashes() const { return m_hashes; }

private:
    QStringList m_hashes;
    const CodeSigning* m_platform;
};

} // namespace ovrel
