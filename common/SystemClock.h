#pragma once

#include "link/LocalClock.h"

class QDateTime;

namespace ornis {

// The PC's own clock: what the clock button shows and what a clock write sends.
class SystemClock final : public LocalClock
{
public:
    [[nodiscard]] LocalDateTime now() const override;
};

// The date and time `when` holds, to the second, in its own time zone.
[[nodiscard]] LocalDateTime localDateTimeOf(const QDateTime &when);

} // namespace ornis
