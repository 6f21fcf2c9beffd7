#pragma once

#include <cstddef>
#include <optional>

// The two index spaces every block uses, and the byte index formulas of the five grids.

namespace ornis {

// Extension index 0..15 stands for 21..28, 31..38.
[[nodiscard]] constexpr int extensionNumber(int index)
{
    return index < 8 ? 21 + index : 31 + (index - 8);
}

[[nodiscard]] constexpr std::optional<int> extensionIndexOf(int number)
{
    if (number >= 21 && number <= 28)
        return number - 21;
    if (number >= 31 && number <= 38)
        return number - 31 + 8;
    return std::nullopt;
}

// Short dial record 0..89 stands for the short dials 810..899.
inline constexpr int FirstShortDial = 810;

// Line index 0..3 stands for the external lines 91..94.
[[nodiscard]] constexpr int lineNumber(int index)
{
    return 91 + index;
}

[[nodiscard]] constexpr std::optional<int> lineIndexOf(int number)
{
    if (number >= 91 && number <= 94)
        return number - 91;
    return std::nullopt;
}

// Shape of one grid: data rows and columns, both counted from 1 (row and column 0 are
// headers and hold no data).
struct GridShape
{
    int rows;
    int columns;

    [[nodiscard]] constexpr std::size_t size() const { return std::size_t(rows) * columns; }
    [[nodiscard]] constexpr bool contains(int column, int row) const
    {
        return column >= 1 && column <= columns && row >= 1 && row <= rows;
    }
    // Byte index of the cell at grid column c and grid row r: (r - 1) x width + (c - 1).
    [[nodiscard]] constexpr std::size_t cellIndex(int column, int row) const
    {
        return std::size_t(row - 1) * columns + std::size_t(column - 1);
    }
};

inline constexpr GridShape ExtensionGridShape {17, 12};
inline constexpr GridShape RingGridShape {4, 16}; // DayRingGrid and NightRingGrid
inline constexpr GridShape GlobalLineGridShape {4, 4};
inline constexpr GridShape GlobalExtensionGridShape {7, 16};

// Columns and rows of ExtensionGrid.
namespace ExtensionColumn {
inline constexpr int Incoming91 = 1; // 1..4: incoming lines 91..94
inline constexpr int Outgoing91 = 5; // 5..8: outgoing lines 91..94
inline constexpr int Call = 9; // 0 "0-nn", 1 "0-9n", 2 "0-0n", 3 "0-00"
inline constexpr int Seven = 10; // "7"
inline constexpr int SevenN = 11; // "7n"
inline constexpr int ZeroZero = 12; // "00"
} // namespace ExtensionColumn
inline constexpr int ExtensionRowZeroZero = 17; // the row labelled "00"

// Rows of GlobalLineGrid.
namespace GlobalLineRow {
inline constexpr int LP = 1; // 0, 1 "X", 2 "16k"
inline constexpr int G1 = 2;
inline constexpr int G9 = 3;
inline constexpr int G2 = 4; // 0, 1 "D", 2 "N", 3 "DN"
} // namespace GlobalLineRow

// Rows of GlobalExtensionGrid.
namespace GlobalExtensionRow {
inline constexpr int G3 = 1;
inline constexpr int G4 = 2;
inline constexpr int G6J = 3; // 1..9 "J1".."J9", 10 "J0"
inline constexpr int G6L = 4; // 1..9 "L1".."L9", 10 "L0"
inline constexpr int G8 = 5;
inline constexpr int GP = 6;
inline constexpr int GE = 7; // in use for model MIRA only
} // namespace GlobalExtensionRow

} // namespace ornis
