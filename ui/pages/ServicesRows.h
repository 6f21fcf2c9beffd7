#pragma once

// The rows of a block of four extension columns on the page "Služby", from the top: the
// column's controls and the row labels at the block's left stand at the same heights.

namespace ornis::ServicesRows {

enum Row { Number, BackRing, Parking, Redirect, Ringing, Alarm, Count };

inline constexpr int Spacing = 24;
inline constexpr int Height = 21;
// Space above the first row inside a column's frame.
inline constexpr int TopMargin = 3;

[[nodiscard]] constexpr int top(Row row)
{
    return TopMargin + row * Spacing;
}

// The height of a column's frame: all rows and the margin below the last as above the first.
inline constexpr int BlockHeight = top(Alarm) + Height + TopMargin;

} // namespace ornis::ServicesRows
