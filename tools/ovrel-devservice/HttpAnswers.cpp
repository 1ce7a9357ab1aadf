#include "HttpAnswers.h"

namespace ovrel::devservice::HttpAnswers {

QHttpServerResponse json(const QJsonObject& body, QHttpServerResponder::StatusCode status) {
    return QHttpServerResponse(body, status);
}

QHttpServerResponse error(QHttpServerResponder::StatusCode status, const QString& code) {
    return QHttpServerResponse(QJsonObject{{QStringLiteral("error"), code}}, status);
}

namespace {
QByteArray page(const QString& title, const QString& bodyHtml) {
    return (QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>") +
            title.toHtmlEscaped() + QStringLiteral("</title></head>\n<body>\n") + bodyHtml +
            QStringLiteral("\n</body></html>\n"))
        .toUtf8();
}
} // namespace

QHttpServerResponse html(const QString& title, const QString& bodyHtml) {
    return QHttpServerResponse("text/html; charset=utf-8", page(title, bodyHtml));
}

QHttpServerResponse redirect(const QString& location, const QString& bodyHtml) {
    QHttpServerResponse response("text/html; charset=utf-8",
                                 page(QStringLiteral("Ovrel"), bodyHtml),
                                 QHttpServerResponder::StatusCode::Found);
    response.setHeader("Location", location.toUtf8());
    return response;
}

} // namespace ovrel::devservice::HttpAnswers
