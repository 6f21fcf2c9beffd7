#pragma once

#include "Field.h"
#include "Numbering.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The five settings grids as one table: for each grid the field it shows, its shape and
// headers, and the rules of its cells (what each data cell holds, the text of each of its
// values, how a click moves it on and when it is out of use). The settings image, the
// field table, the page's grids, their binding and the repaint pacing all read it; the
// report prints by the same value texts. GridCells.h reads a configuration's cells by it.

namespace ornis {

enum class SettingsGrid { Extension, DayRing, NightRing, GlobalLine, GlobalExtension };
inline constexpr int SettingsGridCount = 5;

// The value set of a data cell.
enum class CellKind : uint8_t {
    Mark, // 0 empty, 1 "X"; a click flips the lowest bit
    Call, // 0 "0-nn", 1 "0-9n", 2 "0-0n", 3 "0-00"; a click adds 1, and 3
    LP, // 0 empty, 1 "X", 2 "16k"; a click adds 1, mod 3
    G2, // 0 empty, 1 "D", 2 "N", 3 "DN"; a click adds 1, and 3
    J, // 0 empty, 1..9 "J1".."J9", 10 "J0"; a click adds 1, mod 11
    L, // the same with "L1".."L0"
    Unused, // never shown, never edited
    MiraMark, // Mark, in use for model MIRA only (row GE)
};

// A block of cells sharing one kind, columns and rows both inclusive.
struct CellArea
{
    int firstColumn;
    int lastColumn;
    int firstRow;
    int lastRow;
    CellKind kind;

    [[nodiscard]] constexpr bool contains(int column, int row) const
    {
        return column >= firstColumn && column <= lastColumn && row >= firstRow && row <= lastRow;
    }
};

// One grid: its field, its headers and the kinds of its cells.
struct GridRules
{
    SettingsGrid grid;
    Field field; // each cell is the element of its byte index
    GridShape shape; // data rows and columns; row 0 and column 0 are headers
    std::span<const char *const> columnHeaders; // columns 1..
    std::span<const char *const> rowHeaders; // rows 1..
    CellKind kind; // of every data cell outside `areas`
    std::span<const CellArea> areas; // the last area holding a cell decides

    [[nodiscard]] CellKind kindAt(int column, int row) const;
    // The text of header cell (column, row), empty for the corner and for data cells.
    [[nodiscard]] std::string_view headerText(int column, int row) const;
};

[[nodiscard]] const GridRules &gridRules(SettingsGrid grid);
// The grid whose cells are the elements of `field`; nothing for the other fields.
[[nodiscard]] std::optional<SettingsGrid> gridOfField(Field field);

// The value of data cell (column, row).
[[nodiscard]] FieldRef cellRef(SettingsGrid grid, int column, int row);

// The text of `value` in a cell of `kind`; nothing for a value outside the kind's set and
// for an Unused cell. Value 0 is the empty text except for "Call".
[[nodiscard]] std::optional<std::string_view> cellValueText(CellKind kind, uint8_t value);
// The byte after a click on a cell holding `value`. Stray bytes join the cycle: v + 1 is
// formed without wrapping at 256 before the remainder is taken.
[[nodiscard]] uint8_t nextCellValue(CellKind kind, uint8_t value);
// The cell takes clicks and shows its text while `exchangeType` is the chosen model.
[[nodiscard]] bool cellInUse(CellKind kind, int32_t exchangeType);

} // namespace ornis
