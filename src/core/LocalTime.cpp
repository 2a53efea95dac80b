#include "core/LocalTime.h"

#include <QDateTime>
#include <QLocale>

namespace LocalTime {

QString withoutTimeZone(const QString &format)
{
    QString kept;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted) {
            if (c == QLatin1Char('t'))
                continue;
            // A zone in brackets goes with its brackets.
            if (c == QLatin1Char('(')) {
                qsizetype end = i + 1;
                while (end < format.size() && format.at(end) == QLatin1Char('t'))
                    ++end;
                if (end > i + 1 && end < format.size() && format.at(end) == QLatin1Char(')')) {
                    i = end;
                    continue;
                }
            }
        }
        kept += c;
    }
    // The blank that stood before or after the zone.
    kept = kept.trimmed();
    while (kept.contains(QLatin1String("  ")))
        kept.replace(QLatin1String("  "), QLatin1String(" "));
    return kept;
}

QString timeOfDay(const QLocale &locale, const QTime &time)
{
    return locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

QString dateAndTime(const QLocale &locale, const QDateTime &moment)
{
    return locale.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           timeOfDay(locale, moment.time());
}

} // namespace LocalTime
