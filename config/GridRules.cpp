#include "GridRules.h"

#include "ExchangeConfig.h"

#include <array>

namespace ornis {

namespace {

constexpr std::array<const char *, 2> MarkTexts {"", "X"};
constexpr std::array<const char *, 4> CallTexts {"0-nn", "0-9n", "0-0n", "0-00"};
constexpr std::array<const char *, 3> LPTexts {"", "X", "16k"};
constexpr std::array<const char *, 4> G2Texts {"", "D", "N", "DN"};
constexpr std::array<const char *, 11> JTexts {
    "", "J1", "J2", "J3", "J4", "J5", "J6", "J7", "J8", "J9", "J0"};
constexpr std::array<const char *, 11> LTexts {
    "", "L1", "L2", "L3", "L4", "L5", "L6", "L7", "L8", "L9", "L0"};

constexpr std::array<const char *, 17> ExtensionRows {"21", "22", "23", "24", "25", "26", "27",
    "28", "31", "32", "33", "34", "35", "36", "37", "38", "00"};
const std::span<const char *const> Extensions = std::span(ExtensionRows).first(ExtensionCount);
constexpr std::array<const char *, 4> Lines {"91", "92", "93", "94"};
constexpr std::array<const char *, 12> ExtensionColumns {
    "91", "92", "93", "94", "91", "92", "93", "94", "Call", "7", "7n", "00"};
constexpr std::array<const char *, 4> GlobalLineRows {"LP", "G1", "G9", "G2"};
constexpr std::array<const char *, 7> GlobalExtensionRows {
    "G3", "G4", "G6", "G6", "G8", "GP", "GE"};

namespace EC = ExtensionColumn;
constexpr int Row00 = ExtensionRowZeroZero;

constexpr std::array<CellArea, 3> ExtensionAreas {{
    {EC::Call, EC::Call, 1, Row00, CellKind::Call},
    {EC::Incoming91, EC::Incoming91 + 3, Row00, Row00, CellKind::Unused},
    {EC::ZeroZero, EC::ZeroZero, Row00, Row00, CellKind::Unused},
}};
constexpr std::array<CellArea, 2> GlobalLineAreas {{
    {1, 4, GlobalLineRow::LP, GlobalLineRow::LP, CellKind::LP},
    {1, 4, GlobalLineRow::G2, GlobalLineRow::G2, CellKind::G2},
}};
constexpr std::array<CellArea, 3> GlobalExtensionAreas {{
    {1, 16, GlobalExtensionRow::G6J, GlobalExtensionRow::G6J, CellKind::J},
    {1, 16, GlobalExtensionRow::G6L, GlobalExtensionRow::G6L, CellKind::L},
    {1, 16, GlobalExtensionRow::GE, GlobalExtensionRow::GE, CellKind::MiraMark},
}};

// In the order of SettingsGrid.
const std::array<GridRules, SettingsGridCount> Rules {{
    {SettingsGrid::Extension, Field::ExtensionGrid, ExtensionGridShape, ExtensionColumns,
        ExtensionRows, CellKind::Mark, ExtensionAreas},
    {SettingsGrid::DayRing, Field::DayRingGrid, RingGridShape, Extensions, Lines, CellKind::Mark,
        {}},
    {SettingsGrid::NightRing, Field::NightRingGrid, RingGridShape, Extensions, Lines,
        CellKind::Mark, {}},
    {SettingsGrid::GlobalLine, Field::GlobalLineGrid, GlobalLineGridShape, Lines, GlobalLineRows,
        CellKind::Mark, GlobalLineAreas},
    {SettingsGrid::GlobalExtension, Field::GlobalExtensionGrid, GlobalExtensionGridShape,
        Extensions, GlobalExtensionRows, CellKind::Mark, GlobalExtensionAreas},
}};

std::span<const char *const> textsOf(CellKind kind)
{
    switch (kind) {
    case CellKind::Mark:
    case CellKind::MiraMark:
        return MarkTexts;
    case CellKind::Call:
        return CallTexts;
    case CellKind::LP:
        return LPTexts;
    case CellKind::G2:
        return G2Texts;
    case CellKind::J:
        return JTexts;
    case CellKind::L:
        return LTexts;
    case CellKind::Unused:
        break;
    }
    return {};
}

std::string_view textAt(std::span<const char *const> texts, int index)
{
    return index >= 1 && std::size_t(index) <= texts.size() ? texts[std::size_t(index - 1)]
                                                            : std::string_view();
}

} // namespace

CellKind GridRules::kindAt(int column, int row) const
{
    CellKind result = kind;
    for (const CellArea &area : areas) {
        if (area.contains(column, row))
            result = area.kind;
    }
    return result;
}

std::string_view GridRules::headerText(int column, int row) const
{
    if (row == 0)
        return textAt(columnHeaders, column);
    if (column == 0)
        return textAt(rowHeaders, row);
    return {};
}

const GridRules &gridRules(SettingsGrid grid)
{
    return Rules[std::size_t(grid)];
}

std::optional<SettingsGrid> gridOfField(Field field)
{
    for (const GridRules &rules : Rules) {
        if (rules.field == field)
            return rules.grid;
    }
    return std::nullopt;
}

FieldRef cellRef(SettingsGrid grid, int column, int row)
{
    const GridRules &rules = gridRules(grid);
    return {rules.field, int(rules.shape.cellIndex(column, row))};
}

std::optional<std::string_view> cellValueText(CellKind kind, uint8_t value)
{
    const std::span<const char *const> texts = textsOf(kind);
    if (value >= texts.size())
        return std::nullopt;
    return texts[value];
}

uint8_t nextCellValue(CellKind kind, uint8_t value)
{
    const unsigned next = unsigned(value) + 1;
    switch (kind) {
    case CellKind::Mark:
    case CellKind::MiraMark:
        return uint8_t(1 - (value & 1));
    case CellKind::Call:
    case CellKind::G2:
        return uint8_t(next & 3);
    case CellKind::LP:
        return uint8_t(next % 3);
    case CellKind::J:
    case CellKind::L:
        return uint8_t(next % 11);
    case CellKind::Unused:
        break;
    }
    return value;
}

bool cellInUse(CellKind kind, int32_t exchangeType)
{
    if (kind == CellKind::Unused)
        return false;
    return kind != CellKind::MiraMark || exchangeType == ModelMira;
}

} // namespace ornis
