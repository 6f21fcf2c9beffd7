#include "ClockText.h"

#include <QDate>
#include <QTime>

namespace ornis {

namespace {

// Drops the time-zone field 't' from a time format, leaving quoted text alone.
QString withoutTimeZone(const QString &format)
{
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        result.append(c);
    }
    return result.trimmed();
}

} // namespace

QString clockText(const LocalDateTime &time, const QLocale &locale)
{
    const QDate date(time.year, time.month, time.day);
    const QTime clock(time.hour, time.minute, time.second);
    return locale.toString(date, QLocale::ShortFormat) + u' '
        + locale.toString(clock, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

} // namespace ornis
