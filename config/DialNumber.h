#pragma once

#include <string_view>

// The number of a short dial or a PE record: what the exchange can hold of it, and so what
// the number fields take and the files and the JSON form accept.

namespace ornis {

inline constexpr int DialNumberLength = 14;
inline constexpr const char *DialNumberRule = "at most 14 characters 0-9 and P";

[[nodiscard]] constexpr bool isDialCharacter(char c)
{
    return (c >= '0' && c <= '9') || c == 'P';
}

// At most DialNumberLength characters, each a dial character.
[[nodiscard]] constexpr bool isDialNumber(std::string_view number)
{
    if (number.size() > std::size_t(DialNumberLength))
        return false;
    for (const char c : number) {
        if (!isDialCharacter(c))
            return false;
    }
    return true;
}

} // namespace ornis
