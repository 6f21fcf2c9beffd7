#pragma once

#include "ExchangeConfig.h"
#include "GridRules.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The cells of the settings grids in a configuration, read and moved on by the grid table.

namespace ornis {

// The bytes of `grid`, row by row.
[[nodiscard]] std::span<uint8_t> gridBytes(ExchangeConfig &config, SettingsGrid grid);
[[nodiscard]] std::span<const uint8_t> gridBytes(const ExchangeConfig &config, SettingsGrid grid);

// The text a data cell shows for the byte it holds now, whatever the model (row GE keeps
// its texts while it is out of use); nothing when the refresh leaves the cell's text as it
// was (a byte outside the value set, an Unused cell).
[[nodiscard]] std::optional<std::string_view> cellText(
    const ExchangeConfig &config, SettingsGrid grid, int column, int row);
// The byte a click on cell (column, row) leaves there: its byte moved on by the cell's
// rule. Nothing, as nothing changes, for a header, a cell beyond the grid or a cell not in
// use for the model chosen.
[[nodiscard]] std::optional<uint8_t> pressedValue(
    const ExchangeConfig &config, SettingsGrid grid, int column, int row);

} // namespace ornis
