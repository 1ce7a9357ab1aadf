#include "Platform/process/WorkspaceError.h"

namespace ovrel {

WorkspaceError::WorkspaceError(Kind kind, QString path, QString reason)
    : m_kind(kind), m_path(std::move(path)), m_reason(std::move(reason)) {
    QString text = kindName(m_kind) + QLatin1Char('(') + m_path + QLatin1Char(')');
    if (!m_reason.isEmpty())
        text += QStringLiteral(": ") + m_reason;
    m_what = text.toStdString();
}

QString WorkspaceError::kindName(Kind kind) {
    switch (kind) {
    case Kind::infoPlistUnreadable:
        return QStringLiteral("infoPlistUnreadable");
    case Kind::executableNotDeclared:
        return QStringLiteral("executableNotDeclared");
    case Kind::executableMissing:
        return QStringLiteral("executableMissing");
    case Kind::executableNotRunnable:
        return QStringLiteral("executableNotRunnable");
    case Kind::launchFailed:
        return QStringLiteral("launchFailed");
    }
    return {};
}

} // namespace ovrel
