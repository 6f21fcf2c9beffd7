#pragma once

#include "config/GridRules.h"

// How each settings grid looks on its page: the control's name, the widths of its columns
// and where its header texts stand. What the cells hold is the grid's rules'.

namespace ornis {

struct GridLook
{
    const char *name; // the grid control
    int columnWidth; // pixels, header column included
    int wideColumn; // 0 for none
    int wideColumnWidth;
    int indentedHeader; // 0 for none: this column's header text stands 6 px in, not 4

    [[nodiscard]] int width(int column) const;
    [[nodiscard]] int headerIndent(int column) const;
};

inline constexpr int GridRowHeight = 16; // pixels, every row
inline constexpr int HeaderIndent = 4; // pixels from a header cell's left edge

[[nodiscard]] const GridLook &gridLook(SettingsGrid grid);

} // namespace ornis
