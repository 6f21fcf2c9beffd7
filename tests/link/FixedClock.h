#pragma once

#include "link/LocalClock.h"

// A clock the test sets; `readings` counts how often it was read.
class FixedClock : public ornis::LocalClock
{
public:
    ornis::LocalDateTime now() const override
    {
        ++readings;
        return time;
    }
    ornis::LocalDateTime time;
    mutable int readings = 0;
};
