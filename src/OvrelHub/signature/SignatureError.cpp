#include "OvrelHub/signature/SignatureError.h"

namespace ovrel {

SignatureError::SignatureError(Kind kind, OSStatus status)
    : m_kind(kind), m_status(kind == Kind::rejected ? status : 0),
      m_what(description().toStdString()) {}

QString SignatureError::description() const {
    switch (m_kind) {
    case Kind::rejected:
        return QStringLiteral("rejected(%1)").arg(m_status);
    case Kind::cannotRead:
        return QStringLiteral("cannotRead");
    case Kind::invalidRequirement:
        return QStringLiteral("invalidRequirement");
    }
    return {};
}

} // namespace ovrel
