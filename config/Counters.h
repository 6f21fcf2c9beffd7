#pragma once

#include "ExchangeConfig.h"

#include <array>
#include <cstdint>

namespace ornis {

// Range and factory value of each counter C0..C8.
struct CounterRange
{
    int16_t minimum;
    int16_t maximum;
    int16_t factory;

    [[nodiscard]] constexpr int16_t clamp(int value) const
    {
        return int16_t(value < minimum ? minimum : value > maximum ? maximum : value);
    }
};

inline constexpr std::array<CounterRange, CounterCount> CounterRanges {{
    {1, 25, 20}, // C0
    {1, 15, 15}, // C1
    {1, 99, 30}, // C2
    {1, 99, 60}, // C3
    {1, 99, 60}, // C4
    {1, 50, 30}, // C5
    {1, 50, 30}, // C6
    {1, 10, 5}, // C7
    {1, 10, 1}, // C8
}};

} // namespace ornis
