#pragma once

#include "link/LocalClock.h"

namespace ornis {

// The PC's own clock: what the clock button shows and what a clock write sends.
class SystemClock final : public LocalClock
{
public:
    [[nodiscard]] LocalDateTime now() const override;
};

} // namespace ornis
