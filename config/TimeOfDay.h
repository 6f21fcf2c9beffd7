#pragma once

#include <optional>
#include <string>
#include <string_view>

// Times of day as their entry fields hold them: two hour positions (the first may be a
// blank), a colon and two minute digits, as in "06:00" or " 6:00". "  :  " is unset.

namespace ornis {

struct TimeOfDay
{
    int hour = 0; // 0..23
    int minute = 0; // 0..59

    bool operator==(const TimeOfDay &) const = default;
};

// The time a field's text holds, or nothing when it holds none (unset, 24:00, 12:60,
// any other text).
[[nodiscard]] std::optional<TimeOfDay> parseTimeOfDay(std::string_view text);

// "%.2d:%.2d": two digits each at least, a colon between (hour 24 gives "24:00").
[[nodiscard]] std::string formatTimeOfDay(int hour, int minute);

} // namespace ornis
