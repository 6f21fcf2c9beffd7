#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace ornis::sim {

// "ADDR=BYTE" of --noise: an address of the exchange's memory (0..4095) and a byte
// (0..255), each decimal or 0x-prefixed hexadecimal. Nothing for anything else.
[[nodiscard]] std::optional<std::pair<uint16_t, uint8_t>> parseNoise(std::string_view text);

} // namespace ornis::sim
