#pragma once

#include <QString>

// What screen readers see of the settings grids: the grid as a table whose children are its
// data cells, row by row, each named by its row and column and valued by its text.

namespace ornis {

class CellGrid;

// Registers the grids' accessible interfaces with Qt; only the first call does anything.
void installCellGridAccessibility();

// The data cell's row and column as words: "Pobočka 21, Vstup 91", "Linka 92, Pobočka 35",
// "G3, Pobočka 21".
[[nodiscard]] QString cellGridItemName(const CellGrid &grid, int column, int row);

// The index of data cell (column, row) among the grid's accessible children.
[[nodiscard]] int cellGridChildIndex(const CellGrid &grid, int column, int row);

} // namespace ornis
