#include "OvrelHub/resident/ResidentError.h"

namespace ovrel {

ResidentError::ResidentError(Kind kind, qint32 status)
    : m_kind(kind), m_status(status), m_what(description().toStdString()) {}

QString ResidentError::description() const {
    switch (m_kind) {
    case Kind::launchctlFailed:
        return QStringLiteral("launchctlFailed(%1)").arg(m_status);
    case Kind::noExecutable:
        return QStringLiteral("noExecutable");
    case Kind::plistWriteFailed:
        return QStringLiteral("plistWriteFailed");
    }
    return {};
}

} // namespace ovrel
