#include "SettingsImage.h"

#include "SettingsSteps.h"
#include "config/Counters.h"
#include "config/ExchangeConfig.h"
#include "config/GridCells.h"
#include "config/Numbering.h"

#include <algorithm>
#include <span>

namespace ornis {

namespace {

using enum SettingsCoding;

struct StepPlace
{
    SettingsStepRange range;
    int offset; // step - range.first
};

std::optional<StepPlace> placeOf(int step)
{
    for (const SettingsStepRange &range : SettingsSteps) {
        if (step >= range.first && step <= range.last)
            return StepPlace {range, step - range.first};
    }
    return std::nullopt;
}

// Cells of one grid that share a byte: the cell of bit k lies k strides after the first.
struct BitRun
{
    SettingsGrid grid;
    std::size_t first;
    std::size_t stride;
    int count;
};

// The cells of a bit-set step; nothing for the other codings.
std::optional<BitRun> bitRunOf(const StepPlace &place)
{
    const int item = place.range.item;
    const int pair = place.offset / 2;
    const int half = place.offset % 2; // 0: extensions 21..28 or rows 1..8; 1: the rest
    using enum SettingsGrid;
    switch (place.range.coding) {
    case GlobalExtensionBits:
    case GlobalExtensionBitsMira:
        return BitRun {
            GlobalExtension, GlobalExtensionGridShape.cellIndex(1 + 8 * half, item), 1, 8};
    case GlobalLineBits:
        return BitRun {GlobalLine, GlobalLineGridShape.cellIndex(1, item), 1, LineCount};
    case ExtensionColumnBits:
        return BitRun {Extension, ExtensionGridShape.cellIndex(item + pair, 1 + 8 * half),
            std::size_t(ExtensionGridShape.columns), 8};
    case DayRingBits:
        return BitRun {DayRing, RingGridShape.cellIndex(1 + 8 * half, 1 + pair), 1, 8};
    case NightRingBits:
        return BitRun {NightRing, RingGridShape.cellIndex(1 + 8 * half, 1 + pair), 1, 8};
    default:
        return std::nullopt;
    }
}

// The extension row byte: outgoing lines, "Call", "7" and "7n" of one ExtensionGrid row.
struct RowField
{
    int column;
    int shift;
    uint8_t mask; // the cell's own width
};
constexpr std::array<RowField, 7> ExtensionRowFields {{
    {ExtensionColumn::Outgoing91, 0, 1},
    {ExtensionColumn::Outgoing91 + 1, 1, 1},
    {ExtensionColumn::Outgoing91 + 2, 2, 1},
    {ExtensionColumn::Outgoing91 + 3, 3, 1},
    {ExtensionColumn::Call, 4, 3},
    {ExtensionColumn::Seven, 6, 1},
    {ExtensionColumn::SevenN, 7, 1},
}};

constexpr uint8_t FaxNone = 0xFE;

// G0Days is kept Sunday first; the exchange has Sunday in bit 6 and Saturday in bit 0.
constexpr int weekdayBit(int day)
{
    return WeekdayCount - 1 - day;
}

uint8_t encodeStep(const ExchangeConfig &config, const StepPlace &place)
{
    const GridArea &grids = config.Grids;
    const SettingsStepRange &range = place.range;
    const int offset = place.offset;

    if (range.coding == GlobalExtensionBitsMira && config.ExchangeType != ModelMira)
        return 0;
    if (const auto run = bitRunOf(place)) {
        const auto cells = gridBytes(config, run->grid);
        uint8_t byte = 0;
        for (int k = 0; k < run->count; ++k)
            byte |= uint8_t((cells[run->first + k * run->stride] & 1) << k);
        return byte;
    }

    switch (range.coding) {
    case Counter: {
        const int counter = range.item + offset;
        return uint8_t(CounterRanges[counter].clamp(config.Counters[counter]) * range.scale);
    }
    case GlobalExtensionCell:
        return grids
            .GlobalExtensionGrid[GlobalExtensionGridShape.cellIndex(1 + offset, range.item)];
    case Weekdays: {
        uint8_t byte = 0;
        for (int day = 0; day < WeekdayCount; ++day)
            byte |= uint8_t(config.G0Days[day] ? 1 << weekdayBit(day) : 0);
        return byte;
    }
    case GlobalLineTwoBits: {
        uint8_t byte = 0;
        for (int line = 0; line < LineCount; ++line) {
            const uint8_t cell
                = grids.GlobalLineGrid[GlobalLineGridShape.cellIndex(1 + line, range.item)];
            byte |= uint8_t((cell & 1) << line | ((cell >> 1) & 1) << (line + 4));
        }
        return byte;
    }
    case ExtensionRowByte: {
        uint8_t byte = 0;
        for (const RowField &field : ExtensionRowFields) {
            const uint8_t cell = grids.ExtensionGrid[ExtensionGridShape.cellIndex(
                field.column, range.item + offset)];
            byte |= uint8_t((cell & field.mask) << field.shift);
        }
        return byte;
    }
    case G7Choice: {
        // A choice without a list entry goes out as none, as the list control shows it.
        const int index = config.G7U[offset];
        return uint8_t(index >= 0 && index <= 9 ? index + 1 : 0);
    }
    case FaxChoice: {
        const int index = config.FaxExtension;
        return index >= 0 && index <= ExtensionCount ? uint8_t(index - 1) : FaxNone;
    }
    default:
        return 0; // the bit sets are handled above
    }
}

// The cells of a bit run: one run when they lie side by side, else one cell at a time.
void tellBitRun(const StoredRangeCallback &stored, const BitRun &run)
{
    const Field field = gridRules(run.grid).field;
    const auto cell = [&](int k) { return FieldRef {field, int(run.first + k * run.stride)}; };
    if (run.stride == 1) {
        tellStored(stored, cell(0), cell(run.count - 1));
        return;
    }
    for (int k = 0; k < run.count; ++k)
        tellStored(stored, cell(k));
}

// The cells of one grid row from `firstColumn` to `lastColumn`, which lie side by side.
void tellRowCells(const StoredRangeCallback &stored, Field field, const GridShape &shape, int row,
    int firstColumn, int lastColumn)
{
    tellStored(stored, {field, int(shape.cellIndex(firstColumn, row))},
        {field, int(shape.cellIndex(lastColumn, row))});
}

void decodeStep(ExchangeConfig &config, const StepPlace &place, uint8_t byte,
    const StoredRangeCallback &stored)
{
    GridArea &grids = config.Grids;
    const SettingsStepRange &range = place.range;
    const int offset = place.offset;

    if (range.coding == GlobalExtensionBitsMira && config.ExchangeType != ModelMira)
        return; // the other models have no row GE: it keeps its values
    if (const auto run = bitRunOf(place)) {
        const auto cells = gridBytes(config, run->grid);
        for (int k = 0; k < run->count; ++k)
            cells[run->first + k * run->stride] = uint8_t((byte >> k) & 1);
        tellBitRun(stored, *run);
        return;
    }

    switch (range.coding) {
    case Counter: {
        const int counter = range.item + offset;
        config.Counters[counter] = CounterRanges[counter].clamp(byte / range.scale);
        tellStored(stored, {Field::Counter, counter});
        break;
    }
    case GlobalExtensionCell: {
        const std::size_t cell = GlobalExtensionGridShape.cellIndex(1 + offset, range.item);
        grids.GlobalExtensionGrid[cell] = byte;
        tellStored(stored, {Field::GlobalExtensionGrid, int(cell)});
        break;
    }
    case Weekdays:
        for (int day = 0; day < WeekdayCount; ++day)
            config.G0Days[day] = (byte >> weekdayBit(day)) & 1;
        tellStored(stored, {Field::G0Day, 0}, {Field::G0Day, WeekdayCount - 1});
        break;
    case GlobalLineTwoBits:
        for (int line = 0; line < LineCount; ++line) {
            const int value = ((byte >> line) & 1) + 2 * ((byte >> (line + 4)) & 1);
            grids.GlobalLineGrid[GlobalLineGridShape.cellIndex(1 + line, range.item)]
                = uint8_t(std::min(value, range.highest));
        }
        tellRowCells(stored, Field::GlobalLineGrid, GlobalLineGridShape, range.item, 1, LineCount);
        break;
    case ExtensionRowByte:
        for (const RowField &field : ExtensionRowFields) {
            grids.ExtensionGrid[ExtensionGridShape.cellIndex(field.column, range.item + offset)]
                = uint8_t((byte >> field.shift) & field.mask);
        }
        tellRowCells(stored, Field::ExtensionGrid, ExtensionGridShape, range.item + offset,
            ExtensionRowFields.front().column, ExtensionRowFields.back().column);
        break;
    case G7Choice:
        config.G7U[offset] = byte >= 1 && byte <= 10 ? byte - 1 : -1;
        tellStored(stored, {Field::G7U, offset});
        break;
    case FaxChoice: {
        const int index = (byte + 1) % 256;
        config.FaxExtension = index <= ExtensionCount ? index : -1;
        tellStored(stored, {Field::FaxExtension});
        break;
    }
    default:
        break;
    }
}

} // namespace

std::optional<uint8_t> settingsByteAt(const ExchangeConfig &config, int step)
{
    const auto place = placeOf(step);
    if (!place)
        return std::nullopt;
    return encodeStep(config, *place);
}

void storeSettingsByte(
    ExchangeConfig &config, int step, uint8_t byte, const StoredRangeCallback &stored)
{
    if (const auto place = placeOf(step))
        decodeStep(config, *place, byte, stored);
}

} // namespace ornis
