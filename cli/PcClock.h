#pragma once

#include "link/LocalClock.h"

#include <QDateTime>

namespace ornis::cli {

// This computer's local date and time, read anew for every byte of a clock write.
class PcClock final : public LocalClock
{
public:
    [[nodiscard]] LocalDateTime now() const override
    {
        const QDateTime now = QDateTime::currentDateTime();
        const QDate date = now.date();
        const QTime time = now.time();
        return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
    }
};

} // namespace ornis::cli
