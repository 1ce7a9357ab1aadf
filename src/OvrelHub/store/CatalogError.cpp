#include "OvrelHub/store/CatalogError.h"

namespace ovrel {

QString CatalogError::description() const {
    switch (m_kind) {
    case Kind::serverError:
        return QStringLiteral("serverError(%1)").arg(m_status);
    case Kind::unauthorized:
        return QStringLiteral("unauthorized");
    case Kind::badResponse:
        return QStringLiteral("badResponse");
    }
    return {};
}

} // namespace ovrel
