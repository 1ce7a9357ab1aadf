#pragma once

#include <QByteArray>
#include <QHttpServerResponse>
#include <QJsonObject>
#include <QString>

namespace ovrel::devservice {

// Answers shared by the local service's route families.
namespace HttpAnswers {

// Larger request bodies are refused with 413.
inline constexpr qsizetype kMaxRequestBody = 4 * 1024 * 1024;

QHttpServerResponse
json(const QJsonObject& body,
     QHttpServerResponder::StatusCode status = QHttpServerResponder::StatusCode::Ok);
QHttpServerResponse error(QHttpServerResponder::StatusCode status, const QString& code);
QHttpServerResponse html(const QString& title, const QString& bodyHtml);
QHttpServerResponse redirect(const QString& location, const QString& bodyHtml);

} // namespace HttpAnswers

} // namespace ovrel::devservice
