#include "FactoryDefaults.h"

#include "Counters.h"
#include "ExchangeConfig.h"
#include "Numbering.h"

#include <array>
#include <initializer_list>

namespace ornis {

namespace {

using BlockReset = void (*)(ExchangeConfig &);

void resetTimes(ExchangeConfig &config)
{
    config.DayStart = "06:00";
    config.NightStart = "18:00";
}

void resetExtensionGrid(ExchangeConfig &config)
{
    auto &grid = config.Grids.ExtensionGrid;
    grid.fill(0);
    // Row "00" (17) keeps all zeros.
    for (int row = 1; row <= ExtensionCount; ++row) {
        for (int column = ExtensionColumn::Incoming91; column < ExtensionColumn::Call; ++column)
            grid[ExtensionGridShape.cellIndex(column, row)] = 1;
        grid[ExtensionGridShape.cellIndex(ExtensionColumn::Call, row)] = 3; // "0-00"
    }
    grid[ExtensionGridShape.cellIndex(ExtensionColumn::SevenN, 1)] = 1; // extension 21
}

// Line 91 rings at 21, 92 at 22, 93 at 31, 94 at 32.
void resetRingGrid(std::array<uint8_t, 4 * 16> &grid)
{
    constexpr std::array<int, LineCount> RingingExtension {21, 22, 31, 32};
    grid.fill(0);
    for (int line = 0; line < LineCount; ++line) {
        const int column = *extensionIndexOf(RingingExtension[line]) + 1;
        grid[RingGridShape.cellIndex(column, line + 1)] = 1;
    }
}

void resetDayRingGrid(ExchangeConfig &config)
{
    resetRingGrid(config.Grids.DayRingGrid);
}
void resetNightRingGrid(ExchangeConfig &config)
{
    resetRingGrid(config.Grids.NightRingGrid);
}

void resetGlobalLineGrid(ExchangeConfig &config)
{
    auto &grid = config.Grids.GlobalLineGrid;
    grid.fill(0);
    for (int column = 1; column <= LineCount; ++column) {
        grid[GlobalLineGridShape.cellIndex(column, GlobalLineRow::LP)] = 1;
        grid[GlobalLineGridShape.cellIndex(column, GlobalLineRow::G1)] = 1;
    }
}

void resetGlobalExtensionGrid(ExchangeConfig &config)
{
    auto &grid = config.Grids.GlobalExtensionGrid;
    grid.fill(0);
    const auto cell = [&grid](int extension, int row) -> uint8_t & {
        return grid[GlobalExtensionGridShape.cellIndex(*extensionIndexOf(extension) + 1, row)];
    };
    cell(28, GlobalExtensionRow::G3) = 1;
    // J1..J9, J0 for 21..32; L1..L6 for 33..38.
    for (int e = 0; e < 10; ++e)
        grid[GlobalExtensionGridShape.cellIndex(e + 1, GlobalExtensionRow::G6J)] = uint8_t(e + 1);
    for (int e = 10; e < ExtensionCount; ++e)
        grid[GlobalExtensionGridShape.cellIndex(e + 1, GlobalExtensionRow::G6L)] = uint8_t(e - 9);
}

void resetG7(ExchangeConfig &config)
{
    config.G7U.fill(0);
}

void resetG0(ExchangeConfig &config)
{
    config.G0Days = {true, false, false, false, false, false, true}; // Sunday first
}

void resetG5(ExchangeConfig &config)
{
    config.FaxExtension = *extensionIndexOf(28) + 1;
}

void resetCounters(ExchangeConfig &config)
{
    for (int c = 0; c < CounterCount; ++c)
        config.Counters[c] = CounterRanges[c].factory;
}

void resetServices(ExchangeConfig &config)
{
    config.BlockRedirect = false;
    config.GeneralRing.fill(false);
    for (ExtensionServices &services : config.Services) {
        // RingFrom has no factory value.
        services.BackRing = 0;
        services.Redirect = 0;
        services.RedirectWhen = 0;
        services.AlarmOnce = UnsetTime;
        services.AlarmDaily = UnsetTime;
        services.ParkTo.fill(false);
    }
}

void resetShortDialTable(ExchangeConfig &config)
{
    config.ShortDialTable.fill(ShortDialRecord {});
}

void resetPETable(ExchangeConfig &config)
{
    config.PETable.fill(PERecord {});
}

// The thirteen block resets, numbered from 1 as the user interface refers to them.
constexpr std::array<BlockReset, 13> BlockResets {
    resetTimes, // 1
    resetExtensionGrid, // 2
    resetDayRingGrid, // 3
    resetNightRingGrid, // 4
    resetGlobalLineGrid, // 5
    resetGlobalExtensionGrid, // 6
    resetG7, // 7
    resetG0, // 8
    resetG5, // 9
    resetCounters, // 10
    resetServices, // 11
    resetShortDialTable, // 12
    resetPETable, // 13
};

void applyResets(ExchangeConfig &config, std::initializer_list<int> numbers)
{
    for (int number : numbers)
        BlockResets[std::size_t(number - 1)](config);
}

} // namespace

void ResetAll(ExchangeConfig &config)
{
    applyResets(config, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
}

void ResetSettingsBlock(ExchangeConfig &config)
{
    applyResets(config, {2, 1, 3, 4, 5, 6, 7, 8, 9, 10});
}

void ResetServicesBlock(ExchangeConfig &config)
{
    applyResets(config, {11});
}
void ResetShortDials(ExchangeConfig &config)
{
    applyResets(config, {12});
}
void ResetPE(ExchangeConfig &config)
{
    applyResets(config, {13});
}

ExchangeConfig factoryConfig()
{
    ExchangeConfig config;
    ResetAll(config);
    return config;
}

} // namespace ornis
