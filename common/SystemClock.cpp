#include "SystemClock.h"

#include <QDateTime>

namespace ornis {

LocalDateTime SystemClock::now() const
{
    return localDateTimeOf(QDateTime::currentDateTime());
}

LocalDateTime localDateTimeOf(const QDateTime &when)
{
    const QDate date = when.date();
    const QTime time = when.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

} // namespace ornis
