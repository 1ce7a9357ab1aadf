#pragma once

#include "Platform/codesign/SigningIdentity.h"

#include <QString>

namespace ovrel {

// Signs a bundle directory: seals every file under Contents outside
// _CodeSignature into CodeResources, then writes CodeSignature with the code
// directory hash, the identity's certificate and its signature.
namespace CodeSigner {

// identifier: the signing identifier; empty takes CFBundleIdentifier.
// Throws CodeSigningError. A bundle refused for its content (Info.plist,
// executable, unsealable entries) is left untouched.
void sign(const QString& bundle, const SigningIdentity& identity, const QString& identifier = {});

} // namespace CodeSigner

} // namespace ovrel
