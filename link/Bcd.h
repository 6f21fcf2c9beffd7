#pragma once

#include <cstdint>

namespace ornis {

// Packed BCD: a value 0..99 travels as tens in the high nibble, units in the low one.
[[nodiscard]] constexpr uint8_t toBcd(int value)
{
    return uint8_t((value / 10) * 16 + value % 10);
}

// The digits are not validated: 0x1A reads as 20, 0xFF as 165.
[[nodiscard]] constexpr int fromBcd(uint8_t byte)
{
    return (byte & 15) + (byte >> 4) * 10;
}

} // namespace ornis
