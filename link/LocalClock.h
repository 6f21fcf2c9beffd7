#pragma once

namespace ornis {

struct LocalDateTime
{
    int year = 2000;
    int month = 1; // 1..12
    int day = 1; // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The PC's local date and time, injected so that tests control it.
class LocalClock
{
public:
    virtual ~LocalClock() = default;
    [[nodiscard]] virtual LocalDateTime now() const = 0;
};

} // namespace ornis
