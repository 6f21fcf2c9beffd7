#pragma once

#include "config/Numbering.h"

#include <array>
#include <cstdint>

// Which configuration item travels in which byte of the settings block. A run of steps
// shares one coding; `offset` below is step - first.

namespace ornis {

enum class SettingsCoding : uint8_t {
    Counter, // counter `item` + offset, scaled by `scale`
    GlobalExtensionCell, // GlobalExtensionGrid row `item`, extension offset, byte as it is
    GlobalExtensionBits, // GlobalExtensionGrid row `item`, half offset of the extensions
    GlobalExtensionBitsMira, // the same for model MIRA; the others send 0 and drop the byte
    Weekdays, // G0Days: bit 6 Sunday .. bit 0 Saturday
    GlobalLineBits, // GlobalLineGrid row `item`, lines in bits 0..3
    GlobalLineTwoBits, // GlobalLineGrid row `item`: bit l low bit, bit 4 + l high bit
    ExtensionRowByte, // ExtensionGrid row `item` + offset, columns 5..11
    ExtensionColumnBits, // ExtensionGrid column `item` + offset / 2, half offset % 2
    DayRingBits, // DayRingGrid line offset / 2, half offset % 2
    NightRingBits, // NightRingGrid, the same
    G7Choice, // G7U[offset]: list index + 1, 0 for none
    FaxChoice, // FaxExtension: list index - 1, 0xFE for none
};

struct SettingsStepRange
{
    int first;
    int last;
    SettingsCoding coding;
    int item = 0; // first counter, grid row or grid column of the run
    int scale = 1; // counters: the unit the exchange counts in
    int highest = 3; // two-bit sets: the highest value a read stores
};

inline constexpr int FirstSettingsStep = 7;
inline constexpr int LastSettingsStep = 110;

inline constexpr auto SettingsSteps = [] {
    using enum SettingsCoding;
    return std::array<SettingsStepRange, 24> {{
        // first, last, coding, item, scale / highest
        {7, 7, Counter, 8, 10},
        {8, 12, Counter, 1},
        {13, 14, Counter, 6, 5},
        {15, 15, Counter, 0, 10},
        {16, 31, GlobalExtensionCell, GlobalExtensionRow::G6L},
        {32, 33, GlobalExtensionBitsMira, GlobalExtensionRow::GE},
        {34, 35, GlobalExtensionBits, GlobalExtensionRow::GP},
        {36, 36, Weekdays},
        {37, 37, GlobalLineBits, GlobalLineRow::G9},
        {38, 38, GlobalLineTwoBits, GlobalLineRow::G2},
        {39, 39, ExtensionRowByte, ExtensionRowZeroZero},
        {40, 41, ExtensionColumnBits, ExtensionColumn::ZeroZero},
        {42, 45, G7Choice},
        {46, 47, GlobalExtensionBits, GlobalExtensionRow::G8},
        {48, 63, GlobalExtensionCell, GlobalExtensionRow::G6J},
        {64, 79, ExtensionRowByte, 1},
        {80, 87, DayRingBits},
        {88, 95, NightRingBits},
        {96, 103, ExtensionColumnBits, ExtensionColumn::Incoming91},
        {104, 104, GlobalLineTwoBits, GlobalLineRow::LP, 1, 2}, // no "X 16k": 3 reads as 2
        {105, 105, FaxChoice},
        {106, 107, GlobalExtensionBits, GlobalExtensionRow::G3},
        {108, 108, GlobalLineBits, GlobalLineRow::G1},
        {109, 110, GlobalExtensionBits, GlobalExtensionRow::G4},
    }};
}();

// The runs follow each other without gap or overlap from the first step to the last.
[[nodiscard]] constexpr bool settingsStepsContiguous()
{
    int next = FirstSettingsStep;
    for (const SettingsStepRange &range : SettingsSteps) {
        if (range.first != next || range.last < range.first)
            return false;
        next = range.last + 1;
    }
    return next == LastSettingsStep + 1;
}
static_assert(settingsStepsContiguous());

} // namespace ornis
