#pragma once

#include <QString>

class QDateTime;
class QLocale;
class QTime;

// Dates and times as the log, the exported list and the server's time stamps show them: in the
// system's own format, but without the time-zone word that its long time format carries.
namespace LocalTime {

// The long time format `format` without its time-zone field ("h:mm:ss AP t" -> "h:mm:ss AP");
// quoted literal text is kept as it is.
QString withoutTimeZone(const QString &format);

// Hours, minutes and seconds in the locale's own order, with its AM/PM marker if it has one.
QString timeOfDay(const QLocale &locale, const QTime &time);

// Short date, blank, time of day.
QString dateAndTime(const QLocale &locale, const QDateTime &moment);

} // namespace LocalTime
