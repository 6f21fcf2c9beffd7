#include "TimeOfDay.h"

#include <cstdio>

namespace ornis {

namespace {
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

std::optional<TimeOfDay> parseTimeOfDay(std::string_view text)
{
    // [blank or digit] digit ':' digit digit
    if (text.size() != 5 || text[2] != ':')
        return std::nullopt;
    const char tens = text[0];
    if (!(tens == ' ' || isDigit(tens)) || !isDigit(text[1]) || !isDigit(text[3])
        || !isDigit(text[4]))
        return std::nullopt;
    const int hour = (tens == ' ' ? 0 : tens - '0') * 10 + (text[1] - '0');
    const int minute = (text[3] - '0') * 10 + (text[4] - '0');
    if (hour > 23 || minute > 59)
        return std::nullopt;
    return TimeOfDay {hour, minute};
}

std::string formatTimeOfDay(int hour, int minute)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2d:%.2d", hour, minute);
    return buffer;
}

} // namespace ornis
