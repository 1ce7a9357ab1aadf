#include "Platform/process/ModuleBusName.h"

#include <QStringList>

namespace ovrel::ModuleBusName {

namespace {

bool isIdentifierCharacter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-';
}

} // namespace

std::optional<QString> forBundleIdentifier(const QString& bundleIdentifier) {
    const QStringList elements = bundleIdentifier.split(QLatin1Char('.'));
    if (elements.size() < 2)
        return std::nullopt;
    QStringList busElements;
    for (const QString& element : elements) {
        if (element.isEmpty())
            return std::nullopt;
        for (const QChar c : element) {
            if (!isIdentifierCharacter(c))
                return std::nullopt;
        }
        busElements.append(element.front().isDigit() ? QLatin1Char('_') + element : element);
    }
    QString name = busElements.join(QLatin1Char('.'));
    if (name.size() > kMaxBusNameLength)
        return std::nullopt;
    return name;
}

QString objectPath(const QString& busName) {
    QString path = QLatin1Char('/') + busName;
    path.replace(QLatin1Char('.'), QLatin1Char('/'));
    path.replace(QLatin1Char('-'), QLatin1Char('_'));
    return path;
}

} // namespace ovrel::ModuleBusName
