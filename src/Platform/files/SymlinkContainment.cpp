#include "Platform/files/SymlinkContainment.h"

#include <QStringList>
#include <optional>

namespace ovrel::SymlinkContainment {

namespace {

// Where `target` lands when read from the directory `from`; nothing when the
// walk leaves the root or follows too many links.
std::optional<QStringList> resolve(QStringList from, const QString& target,
                                   const QHash<QString, QString>& links, int& hops) {
    if (target.isEmpty() || target.startsWith(QLatin1Char('/')))
        return std::nullopt;
    QStringList location = std::move(from);
    for (const QString& part : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (location.isEmpty())
                return std::nullopt;
            location.removeLast();
            continue;
        }
        location.append(part);
        const auto link = links.constFind(location.join(QLatin1Char('/')));
        if (link == links.cend())
            continue;
        if (++hops > kMaxHops)
            return std::nullopt;
        location.removeLast();
        auto landed = resolve(location, link.value(), links, hops);
        if (!landed)
            return std::nullopt;
        location = std::move(*landed);
    }
    return location;
}

} // namespace

bool staysInside(const QString& link, const QHash<QString, QString>& links) {
    const auto target = links.constFind(link);
    if (target == links.cend())
        return false;
    QStringList parent = link.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parent.isEmpty())
        return false;
    parent.removeLast();
    int hops = 0;
    return resolve(parent, target.value(), links, hops).has_value();
}

} // namespace ovrel::SymlinkContainment
