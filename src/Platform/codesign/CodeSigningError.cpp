#include "Platform/codesign/CodeSigningError.h"

namespace ovrel {

namespace {

QString kindText(CodeSigningError::Kind kind) {
    using Kind = CodeSigningError::Kind;
    switch (kind) {
    case Kind::bundleUnreadable:
        return QStringLiteral("bundle unreadable");
    case Kind::infoPlistInvalid:
        return QStringLiteral("Info.plist invalid");
    case Kind::executableMissing:
        return QStringLiteral("main executable missing");
    case Kind::unsupportedEntry:
        return QStringLiteral("entry cannot be sealed");
    case Kind::escapingSymlink:
        return QStringLiteral("symbolic link leads out of the bundle");
    case Kind::identityUnreadable:
        return QStringLiteral("signing identity unreadable");
    case Kind::identityExists:
        return QStringLiteral("signing identity already exists");
    case Kind::cryptoFailed:
        return QStringLiteral("cryptographic operation failed");
    case Kind::writeFailed:
        return QStringLiteral("cannot write");
    }
    return {};
}

} // namespace

CodeSigningError::CodeSigningError(Kind kind, QString detail)
    : m_kind(kind), m_detail(std::move(detail)), m_what(description().toStdString()) {}

QString CodeSigningError::description() const {
    return m_detail.isEmpty() ? kindText(m_kind)
                              : kindText(m_kind) + QStringLiteral(": ") + m_detail;
}

} // namespace ovrel
