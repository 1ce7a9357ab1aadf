#include "ClockFormat.h"

#include "OvrelModuleKit/text/LocalizedText.h"

#include <QTimeZone>

namespace ovrel::clock::ClockFormat {

QLocale locale(const QString& language) {
    return QLocale(language);
}

bool isKnownZone(const QString& zone) {
    return !zone.isEmpty() && QTimeZone(zone.toUtf8()).isValid();
}

QDateTime now(const QString& zone) {
    if (!isKnownZone(zone))
        return QDateTime::currentDateTime();
    return QDateTime::currentDateTimeUtc().toTimeZone(QTimeZone(zone.toUtf8()));
}

QString time(const QDateTime& moment, const QString& language, bool use24Hour, bool withSeconds) {
    QString format = use24Hour ? QStringLiteral("HH:mm") : QStringLiteral("h:mm");
    if (withSeconds)
        format += QStringLiteral(":ss");
    if (!use24Hour)
        format += QStringLiteral(" AP");
    return locale(language).toString(moment.time(), format);
}

QString date(const QDateTime& moment, const QString& language) {
    return locale(language).toString(moment.date(), QLocale::LongFormat);
}

QString zoneName(const QString& zone, const QString& language) {
    if (zone.isEmpty()) {
        static const LocalizedText localTime(QMap<QString, QString>{
            {"vi", "Giờ của máy"},
            {"en", "Local time"},
            {"zh", "本地时间"},
            {"ja", "ローカル時刻"},
            {"ko", "현지 시간"},
            {"fr", "Heure locale"},
            {"es", "Hora local"},
        });
        return localTime.text(language).value_or(QStringLiteral("Local time"));
    }
    QString city = zone.section(QLatin1Char('/'), -1);
    return city.replace(QLatin1Char('_'), QLatin1Char(' '));
}

} // namespace ovrel::clock::ClockFormat
