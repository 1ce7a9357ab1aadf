#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace ovrel::clock {

// How the clock writes times, dates and zone names in the hub's language.
namespace ClockFormat {

QLocale locale(const QString& language);

// The current time in an IANA zone; this computer's time for an empty or unknown zone.
QDateTime now(const QString& zone);
bool isKnownZone(const QString& zone);

QString time(const QDateTime& moment, const QString& language, bool use24Hour, bool withSeconds);
QString date(const QDateTime& moment, const QString& language);

// "Tokyo" for Asia/Tokyo, "New York" for America/New_York, "UTC" for UTC,
// the words for "local time" for the empty zone.
QString zoneName(const QString& zone, const QString& language);

} // namespace ClockFormat

} // namespace ovrel::clock
