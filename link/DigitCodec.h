#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Dial characters travel as 4-bit codes, two to a byte, high nibble first.

namespace ornis {

// 'P' 0, '1'..'9' 1..9, '0' 10, anything else 15.
[[nodiscard]] constexpr uint8_t DigitToNibble(char c)
{
    if (c == 'P')
        return 0;
    if (c == '0')
        return 10;
    if (c >= '1' && c <= '9')
        return uint8_t(c - '0');
    return 15;
}

// 0 "P", 1..9 the digit, 10 "0", 11..15 nothing.
[[nodiscard]] inline std::string NibbleToText(uint8_t nibble)
{
    if (nibble == 0)
        return "P";
    if (nibble <= 9)
        return std::string(1, char('0' + nibble));
    if (nibble == 10)
        return "0";
    return {};
}

// The character at 0-based `pos`, or a blank at or beyond the end.
[[nodiscard]] constexpr char NumberCharAt(std::string_view text, std::size_t pos)
{
    return pos < text.size() ? text[pos] : ' ';
}

} // namespace ornis
