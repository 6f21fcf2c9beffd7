#pragma once

#include <optional>
#include <span>
#include <string>

// Which records the rows of the short-dial and PE pages show, tab by tab. Both pages have
// five tabs and a fixed grid of 20 rows, rows 0-9 in the left panel and 10-19 in the right.

namespace ornis {

enum class DialTable { ShortDials, PE };

inline constexpr int DialTabCount = 5;
inline constexpr int DialRowCount = 20;
inline constexpr int DialPanelRowCount = 10;

// The captions of the tabs: "810-819".."880-899", "PIN 20-39".."PE 80-89".
[[nodiscard]] std::span<const char *const> dialTabCaptions(DialTable table);
// The entries of a row's line choice: shortDialLines() or peLines().
[[nodiscard]] std::span<const char *const> dialLines(DialTable table);
// How many rows tab `tab` shows, counted from row 0: 10 on the first short-dial tab, 20
// otherwise; 0 for a tab that does not exist.
[[nodiscard]] int dialRowsShown(DialTable table, int tab);
// The record of the table that row `row` (0..19) of tab `tab` shows; nothing for a row the
// tab does not show.
[[nodiscard]] std::optional<int> dialRecordAt(DialTable table, int tab, int row);
// The label of the row that shows record `record`: "810:".."899:", "00:".."99:".
[[nodiscard]] std::string dialRowLabel(DialTable table, int record);

} // namespace ornis
