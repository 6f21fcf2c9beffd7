#pragma once

#include "StoredRangeCallback.h"

#include <cstdint>
#include <optional>

// The settings block as the exchange holds it: one byte per TransferStep 7..110, the byte
// of step s at exchange address 0x180 + s.

namespace ornis {

struct ExchangeConfig;

// The byte a write sends for `step`; nothing for a step outside the block. Each cell is
// taken to its own width and each counter into its range, so a stray value in the
// configuration never reaches a neighbouring item.
[[nodiscard]] std::optional<uint8_t> settingsByteAt(const ExchangeConfig &config, int step);

// Stores the byte a read received for `step` and tells `stored` which values it set; a step
// outside the block, and row GE for the models without it, change nothing.
void storeSettingsByte(
    ExchangeConfig &config, int step, uint8_t byte, const StoredRangeCallback &stored = {});

} // namespace ornis
