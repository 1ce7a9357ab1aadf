#include "OvrelModuleKit/secrets/SecretLoad.h"

namespace ovrel {

std::optional<QString> SecretLoad::text() const {
    if (m_kind != Kind::ok)
        return std::nullopt;
    return m_text;
}

QString SecretLoad::description() const {
    switch (m_kind) {
    case Kind::ok:
        return QStringLiteral("ok");
    case Kind::missing:
        return QStringLiteral("missing");
    case Kind::unreadable:
        return QStringLiteral("unreadable");
    }
    return {};
}

} // namespace ovrel
