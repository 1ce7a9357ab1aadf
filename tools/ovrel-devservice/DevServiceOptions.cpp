#include "DevServiceOptions.h"

namespace ovrel::devservice {

namespace {

bool parsePort(const QString& text, quint16* port) {
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value > 65535)
        return false;
    *port = static_cast<quint16>(value);
    return true;
}

} // namespace

std::optional<DevServiceOptions> DevServiceOptions::parse(const QStringList& arguments,
                                                          QString* error) {
    DevServiceOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& name = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        const QString value = hasValue ? arguments.at(i + 1) : QString();
        auto needValue = [&]() {
            if (!hasValue)
                *error = name + QStringLiteral(" needs a value");
            return hasValue;
        };
        if (name == QLatin1String("--port") || name == QLatin1String("--storage-port")) {
            if (!needValue())
                return std::nullopt;
            quint16* port =
                name == QLatin1String("--port") ? &options.apiPort : &options.storagePort;
            if (!parsePort(value, port)) {
                *error = name + QStringLiteral(": not a port number: ") + value;
                return std::nullopt;
            }
            ++i;
        } else if (name == QLatin1String("--catalog")) {
            if (!needValue())
                return std::nullopt;
            options.catalogDir = value;
            ++i;
        } else if (name == QLatin1String("--data")) {
            if (!needValue())
                return std::nullopt;
            options.dataFile = value;
            ++i;
        } else if (name == QLatin1String("--token-lifetime")) {
            if (!needValue())
                return std::nullopt;
            bool ok = false;
            const qint64 seconds = value.toLongLong(&ok);
            if (!ok || seconds < 0) {
                *error = name + QStringLiteral(": not a number of seconds: ") + value;
                return std::nullopt;
            }
            options.tokenLifetime = std::chrono::seconds(seconds);
            ++i;
        } else if (name == QLatin1String("--require-token")) {
            if (!needValue())
                return std::nullopt;
            options.requiredToken = value;
            ++i;
        } else if (name == QLatin1String("--fail-status") || name == QLatin1String("--slow-body")) {
            if (!needValue())
                return std::nullopt;
            bool ok = false;
            const int number = value.toInt(&ok);
            if (!ok || number <= 0) {
                *error = name + QStringLiteral(": not a positive number: ") + value;
                return std::nullopt;
            }
            (name == QLatin1String("--fail-status") ? options.failStatus : options.slowBodyMs) =
                number;
            ++i;
        } else if (name == QLatin1String("--download-redirects") ||
                   name == QLatin1String("--declare-length") ||
                   name == QLatin1String("--catalog-bytes")) {
            if (!needValue())
                return std::nullopt;
            bool ok = false;
            const qint64 number = value.toLongLong(&ok);
            if (!ok || number <= 0 || (name == QLatin1String("--download-redirects") && number > 1000)) {
                *error = name + QStringLiteral(": not a positive number: ") + value;
                return std::nullopt;
            }
            if (name == QLatin1String("--download-redirects"))
                options.downloadRedirects = int(number);
            else
                (name == QLatin1String("--declare-length") ? options.declaredLength
                                                            : options.catalogBytes) = number;
            ++i;
        } else if (name == QLatin1String("--chunked")) {
            options.chunkedBodies = true;
        } else if (name == QLatin1String("--catalog-needs-sign-in")) {
            options.catalogNeedsSignIn = true;
        } else if (name == QLatin1String("--kill-mid-body")) {
            options.killMidBody = true;
        } else if (name == QLatin1String("--same-origin-downloads")) {
            options.sameOriginDownloads = true;

        } else if (hasValue && options.versionFeed.take(name, value, error)) {
            if (!error->isEmpty())
                return std::nullopt;
            ++i;
        } else {
            *error = QStringLiteral("unknown option: ") + name;
            return std::nullopt;
        }
    }
    return options;
}

} // namespace ovrel::devservice
