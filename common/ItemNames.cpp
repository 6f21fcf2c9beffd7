#include "ItemNames.h"

#include "Windows1250.h"
#include "config/ChoiceLists.h"
#include "config/FieldTable.h"
#include "config/GridRules.h"
#include "config/ModuleTable.h"
#include "config/Numbering.h"

#include <array>
#include <span>

namespace ornis {

namespace {

using enum Field;

constexpr std::array<const char *, 7> Weekdays {"Ne", "Po", "Út", "St", "Čt", "Pá", "So"};
constexpr std::array<const char *, 4> GlobalLineRows {"LP", "G1", "G9", "G2"};
constexpr std::array<const char *, 7> GlobalExtensionRows {
    "G3", "G4", "G6 J", "G6 L", "G8", "GP", "GE"};

QString extension(int index)
{
    return QStringLiteral("pobočka %1").arg(extensionNumber(index));
}

QString line(int index)
{
    return QStringLiteral("linka %1").arg(lineNumber(index));
}

QString extensionGridColumn(int column)
{
    if (column < ExtensionColumn::Outgoing91)
        return QStringLiteral("Vstup %1").arg(lineNumber(column - ExtensionColumn::Incoming91));
    if (column < ExtensionColumn::Call)
        return QStringLiteral("Výstup %1").arg(lineNumber(column - ExtensionColumn::Outgoing91));
    constexpr std::array<const char *, 4> Others {"Call", "7", "7n", "00"};
    return QString::fromUtf8(Others.at(std::size_t(column - ExtensionColumn::Call)));
}

// A grid cell by its row and its column: "Pobočka 23, Call", "linka 92, pobočka 32".
QString gridCellItem(Field field, int index)
{
    switch (field) {
    case ExtensionGrid: {
        const int row = index / ExtensionGridShape.columns + 1;
        const QString column = extensionGridColumn(index % ExtensionGridShape.columns + 1);
        if (row == ExtensionRowZeroZero)
            return QStringLiteral("Řádek 00, %1").arg(column);
        return QStringLiteral("Pobočka %1, %2").arg(extensionNumber(row - 1)).arg(column);
    }
    case GlobalLineGrid:
        return QStringLiteral("%1, %2").arg(
            QLatin1String(GlobalLineRows.at(std::size_t(index / GlobalLineGridShape.columns))),
            line(index % GlobalLineGridShape.columns));
    case GlobalExtensionGrid:
        return QStringLiteral("%1, %2").arg(QLatin1String(GlobalExtensionRows.at(std::size_t(
                                                index / GlobalExtensionGridShape.columns))),
            extension(index % GlobalExtensionGridShape.columns));
    default: // the ring grids
        return QStringLiteral("%1, %2").arg(
            line(index / RingGridShape.columns), extension(index % RingGridShape.columns));
    }
}

// An index or member index of `field` as the item names show it.
QString countText(Counting counting, Field field, int index)
{
    switch (counting) {
    case Counting::Extension:
        return QString::number(extensionNumber(index));
    case Counting::Line:
        return QString::number(lineNumber(index));
    case Counting::FromOne:
        return QString::number(index + 1);
    case Counting::FromZero:
        return QString::number(index);
    case Counting::Weekday:
        return QString::fromUtf8(Weekdays.at(std::size_t(index)));
    case Counting::Module: {
        const ModuleInfo &module = ExchangeModuleTable.at(std::size_t(index));
        return QStringLiteral("%1 (%2)").arg(
            QLatin1String(module.caption), QLatin1String(modelNames()[std::size_t(module.model)]));
    }
    case Counting::GridCell:
        return gridCellItem(field, index);
    case Counting::ShortDial:
        return QString::number(FirstShortDial + index);
    case Counting::PERecord:
        return QStringLiteral("%1").arg(index, 2, 10, QLatin1Char('0'));
    case Counting::None:
        break;
    }
    return {};
}

QString numberText(int64_t value)
{
    return QString::number(value);
}

// The entry of a list; no choice (-1) is empty, an index beyond the list its number.
QString listValue(std::span<const char *const> list, int64_t value)
{
    if (value == -1)
        return {};
    if (value < 0 || value >= int64_t(list.size()))
        return numberText(value);
    return QString::fromLatin1(list[std::size_t(value)]);
}

QString serviceListValue(int owner, int64_t value, bool withLines)
{
    const std::string text = serviceItemText(owner, int(value), withLines);
    return text.empty() ? numberText(value) : QString::fromStdString(text);
}

// A cell's value as its grid shows it; the cells no grid shows, and bytes outside a cell's
// value set, as their number.
QString gridCellText(const FieldRef &ref, int64_t value)
{
    const GridRules &rules = gridRules(gridOfField(ref.field).value_or(SettingsGrid::Extension));
    const int column = ref.index % rules.shape.columns + 1;
    const int row = ref.index / rules.shape.columns + 1;
    CellKind kind = rules.kindAt(column, row);
    if (kind == CellKind::Unused || kind == CellKind::MiraMark)
        kind = CellKind::Mark;
    const std::optional<std::string_view> text
        = value >= 0 && value <= 255 ? cellValueText(kind, uint8_t(value)) : std::nullopt;
    return text ? QString::fromUtf8(text->data(), qsizetype(text->size())) : numberText(value);
}

} // namespace

QString itemName(const FieldRef &ref)
{
    const FieldRow &row = fieldRow(ref.field);
    QString name = QString::fromUtf8(row.item);
    if (row.index != Counting::None)
        name = name.arg(countText(row.index, ref.field, ref.index));
    if (row.memberIndex != Counting::None)
        name = name.arg(countText(row.memberIndex, ref.field, ref.member));
    return name;
}

QString valueText(const ExchangeConfig &config, const FieldRef &ref)
{
    switch (kindOf(ref.field)) {
    case FieldKind::Text:
    case FieldKind::Time:
        // A byte Windows-1250 leaves unused shows as its Latin-1 character, not as nothing.
        {
            const Text &text = textValue(config, ref);
            return fromWindows1250(text).value_or(
                QString::fromLatin1(text.data(), qsizetype(text.size())));
        }
    case FieldKind::Flag:
        return integerValue(config, ref) ? QStringLiteral("ano") : QStringLiteral("ne");
    case FieldKind::Integer:
        break;
    }
    const int64_t value = integerValue(config, ref);
    switch (ref.field) {
    case ExchangeType:
        return listValue(modelNames(), value);
    case G7U:
        return listValue(g7Choices(), value);
    case FaxExtension:
        return listValue(faxChoices(), value);
    case BackRing:
        return serviceListValue(ref.index, value, true);
    case Redirect:
        return serviceListValue(ref.index, value, false);
    case RedirectWhen:
        return listValue(redirectConditions(), value);
    case ShortDialLine:
        return listValue(shortDialLines(), value);
    case PELine:
        return listValue(peLines(), value);
    case Counter:
        return numberText(value);
    default:
        return gridCellText(ref, value);
    }
}

} // namespace ornis
