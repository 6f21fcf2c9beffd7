#include "GridLook.h"

#include "config/Numbering.h"

#include <array>

namespace ornis {

namespace {

namespace EC = ExtensionColumn;

// In the order of SettingsGrid.
constexpr std::array<GridLook, SettingsGridCount> Looks {{
    {"sgIntrLn", 24, EC::Call, 30, EC::Seven},
    {"sgDayRing", 24, 0, 0, 0},
    {"sgNightRing", 24, 0, 0, 0},
    {"sgGlbStateLn", 26, 0, 0, 0},
    {"sgGlbIntrLn", 26, 0, 0, 0},
}};

} // namespace

int GridLook::width(int column) const
{
    return column == wideColumn && wideColumn != 0 ? wideColumnWidth : columnWidth;
}

int GridLook::headerIndent(int column) const
{
    return column == indentedHeader && indentedHeader != 0 ? HeaderIndent + 2 : HeaderIndent;
}

const GridLook &gridLook(SettingsGrid grid)
{
    return Looks[std::size_t(grid)];
}

} // namespace ornis
