#pragma once

#include "Platform/bundle/BundleDirectory.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace ovrel {

// The code directory ties a signature to the code: one SHA-256 over the
// signing identifier, Contents/Info.plist, Contents/_CodeSignature/CodeResources
// and the main executable named by Info.plist. Each piece enters the hash as
//   8-byte big-endian length || bytes
// after the 8-byte tag "OVRELCD1", so no two different inputs share an encoding.
namespace CodeDirectory {

constexpr qsizetype kHashBytes = 32;

struct Computed {
    QByteArray hash;
    QByteArray codeResources; // the bytes that were hashed
};

// Nothing when one of the pieces is missing, not a regular file, too large,
// or when Info.plist names no usable executable.
std::optional<Computed> compute(const BundleDirectory& bundle, const QString& identifier);

// The bytes the leaf key signs: a fixed context string followed by the hash.
QByteArray signedMessage(const QByteArray& hash);

} // namespace CodeDirectory

} // namespace ovrel
