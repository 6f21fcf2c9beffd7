#pragma once

#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "config/Numbering.h"

#include <cstdio>
#include <string>

// The one builder of sample configurations the tests share.

namespace ornis::testing {

namespace detail {
template<std::size_t N>
void flipCells(std::array<uint8_t, N> &grid, std::size_t first, std::size_t count)
{
    for (std::size_t i = first; i < first + count; ++i)
        grid[i] = uint8_t(1 - grid[i]);
}
} // namespace detail

// Every field away from its factory value, as far as what the exchange can hold allows
// (so a write and a read give it back). Data bytes include the control letters and the
// address bytes of the blocks.
inline ExchangeConfig awayFromFactory(int32_t model = ModelMira)
{
    ExchangeConfig c = factoryConfig();
    c.ExchangeType = model;
    GridArea &g = c.Grids;
    for (int r = 1; r <= ExtensionGridShape.rows; ++r) {
        for (int col = 1; col <= ExtensionGridShape.columns; ++col) {
            uint8_t &cell = g.ExtensionGrid[ExtensionGridShape.cellIndex(col, r)];
            cell = col == ExtensionColumn::Call ? uint8_t((cell + 2) % 4) : uint8_t(1 - cell);
        }
    }
    detail::flipCells(g.DayRingGrid, 0, g.DayRingGrid.size());
    detail::flipCells(g.NightRingGrid, 0, g.NightRingGrid.size());
    for (int l = 0; l < LineCount; ++l) {
        g.GlobalLineGrid[size_t(l)] = 2; // LP "16k"
        g.GlobalLineGrid[size_t(12 + l)] = uint8_t(l % 3 + 1); // G2
    }
    detail::flipCells(g.GlobalLineGrid, 4, 8); // G1, G9
    for (int r = 1; r <= GlobalExtensionGridShape.rows; ++r) {
        const bool values = r == GlobalExtensionRow::G6J || r == GlobalExtensionRow::G6L;
        for (int e = 0; e < ExtensionCount; ++e) {
            uint8_t &cell = g.GlobalExtensionGrid[GlobalExtensionGridShape.cellIndex(e + 1, r)];
            cell = values ? uint8_t((cell + 1) % 11) : uint8_t(1 - cell);
        }
    }
    c.G7U = {9, 3, 5, 7};
    for (bool &day : c.G0Days)
        day = !day;
    c.FaxExtension = 16;
    c.Counters = {25, 3, 99, 1, 42, 50, 7, 10, 9};
    c.DayStart = "07:45";
    c.NightStart = "21:05";
    for (auto &text : c.ExtensionComments)
        text = "never sent";
    c.DayRingComments[0] = c.NightRingComments[3] = "never sent";

    constexpr int minutes[] = {41, 45, 50, 52, 53, 54, 57, 58};
    for (int e = 0; e < ExtensionCount; ++e) {
        ExtensionServices &s = c.Services[size_t(e)];
        s.BackRing = e % 15 + 1;
        s.Redirect = 15 - e % 15;
        s.RedirectWhen = e % 3 + 1;
        for (int l = 0; l < LineCount; ++l)
            s.RingFrom[size_t(l)] = (e + l) % 3 == 0;
        char text[8];
        std::snprintf(text, sizeof text, "%02d:%02d", (e * 5) % 24, minutes[e % 8]);
        s.AlarmOnce = text;
        std::snprintf(text, sizeof text, "%02d:%02d", (e + 8) % 24, 59 - e);
        s.AlarmDaily = text;
    }
    for (int p = 0; p < ParkingPositionCount; ++p)
        c.Services[size_t((3 * p + 1) % ExtensionCount)].ParkTo[size_t(p)] = true;
    c.GeneralRing = {true, false, true, true};
    c.BlockRedirect = true;

    const char *numbers[] = {"45", "5845", "P53", "0123456789P01", "57", "9"};
    for (std::size_t i = 0; i < c.ShortDialTable.size(); ++i)
        c.ShortDialTable[i]
            = {int32_t(i % 5) + 1, numbers[i % 6] + std::to_string(i % 10), "never sent"};
    for (std::size_t i = 0; i < c.PETable.size(); ++i)
        c.PETable[i] = {int32_t(i % 6) + 1, numbers[(i + 1) % 6] + std::to_string(i % 10)};
    return c;
}

// Every dialling record names itself in its number: short dial 8xx holds "8xxP1" and the
// comment "volba 8xx", PE record nn holds "Pnn". The lines run through their lists.
inline ExchangeConfig numberedDialTables()
{
    ExchangeConfig c = factoryConfig();
    for (std::size_t i = 0; i < c.ShortDialTable.size(); ++i) {
        const std::string dial = std::to_string(810 + i);
        c.ShortDialTable[i] = {int32_t(i % 6), dial + "P1", "volba " + dial};
    }
    for (std::size_t i = 0; i < c.PETable.size(); ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "P%02d", int(i));
        c.PETable[i] = {int32_t(i % 7), number};
    }
    return c;
}
} // namespace ornis::testing
