#include "OvrelConfig/ModuleAction.h"

namespace ovrel {

namespace {
QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}
} // namespace

QString ModuleAction::description() const {
    switch (m_kind) {
    case Kind::update:
        return QStringLiteral("update(") + quoted(m_first) + QStringLiteral(", ") +
               quoted(m_second) + QLatin1Char(')');
    case Kind::incompatible:
        return QStringLiteral("incompatible(") + quoted(m_first) + QLatin1Char(')');
    case Kind::incompatibleOS:
        return QStringLiteral("incompatibleOS(") + quoted(m_first) + QLatin1Char(')');
    case Kind::install:
        return QStringLiteral("install");
    case Kind::upToDate:
        return QStringLiteral("upToDate");
    case Kind::notAvailable:
        return QStringLiteral("notAvailable");
    }
    return {};
}

} // namespace ovrel
