#include "GridCells.h"

#include "FieldTable.h"

namespace ornis {

// The field table knows where the cells of each grid field lie, one byte each.
std::span<uint8_t> gridBytes(ExchangeConfig &config, SettingsGrid grid)
{
    const GridRules &rules = gridRules(grid);
    return {std::get<uint8_t *>(placeOf(config, {rules.field})), rules.shape.size()};
}

std::span<const uint8_t> gridBytes(const ExchangeConfig &config, SettingsGrid grid)
{
    return gridBytes(const_cast<ExchangeConfig &>(config), grid);
}

std::optional<std::string_view> cellText(
    const ExchangeConfig &config, SettingsGrid grid, int column, int row)
{
    const GridRules &rules = gridRules(grid);
    if (!rules.shape.contains(column, row))
        return std::nullopt;
    const uint8_t value = gridBytes(config, grid)[rules.shape.cellIndex(column, row)];
    return cellValueText(rules.kindAt(column, row), value);
}

std::optional<uint8_t> pressedValue(
    const ExchangeConfig &config, SettingsGrid grid, int column, int row)
{
    const GridRules &rules = gridRules(grid);
    if (!rules.shape.contains(column, row))
        return std::nullopt;
    const CellKind kind = rules.kindAt(column, row);
    if (!cellInUse(kind, config.ExchangeType))
        return std::nullopt;
    return nextCellValue(kind, gridBytes(config, grid)[rules.shape.cellIndex(column, row)]);
}

} // namespace ornis
