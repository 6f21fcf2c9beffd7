#pragma once

#include <cstdint>
#include <optional>

// The day/night times block as the exchange holds it: the hour and the minute of DayStart,
// then of NightStart, each a BCD byte, steps 0..3 at 0x0D8..0x0DB.

namespace ornis {

struct ExchangeConfig;
struct TransferState;

inline constexpr int TimesStepCount = 4;

// The byte a write sends for `step`, taken from the configuration now: a field that holds
// no time (blank, 24:00) goes out as 00:00. Nothing for a step outside the block.
[[nodiscard]] std::optional<uint8_t> timesByteAt(const ExchangeConfig &config, int32_t step);

struct TimeStored
{
    bool changed = false; // the field's text changed
    bool noTime = false; // the bytes decode beyond 99: the field got 00:00 instead
};

// Stores the byte a read received for `step`. An hour waits in `pending.TimeHour` for its
// minute, which sets the field's text "%.2d:%.2d". Bytes whose BCD digits decode to more
// than 99 (0xFF of a memory never written) give no text the field can hold: the field gets
// 00:00, the time a write sends for a field without a time.
TimeStored storeTimesByte(
    ExchangeConfig &config, TransferState &pending, int32_t step, uint8_t byte);

// The model's name of the field that `step` carries, as the JSON form keys it.
[[nodiscard]] const char *timesFieldKey(int32_t step);

} // namespace ornis
