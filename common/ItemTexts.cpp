#include "ItemTexts.h"

#include "Windows1250.h"
#include "config/GridRules.h"
#include "config/ListTexts.h"
#include "config/Numbering.h"

#include <array>
#include <span>

namespace ornis {

namespace {

using enum Field;

constexpr std::array<const char *, 6> ModuleNames {
    "MKV (MIRA)", "MKPR (MIRA)", "GSM (MIRA)", "MKV (VEGA)", "MKPR (VEGA)", "MKX (VEGA X)"};
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

// "Pobočka 23" with a capital, as an item's first word.
QString extensionItem(int index, const QString &what)
{
    return QStringLiteral("Pobočka %1, %2").arg(extensionNumber(index)).arg(what);
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

QString extensionGridItem(int index)
{
    const int row = index / ExtensionGridShape.columns + 1;
    const QString column = extensionGridColumn(index % ExtensionGridShape.columns + 1);
    if (row == ExtensionRowZeroZero)
        return QStringLiteral("Řádek 00, %1").arg(column);
    return extensionItem(row - 1, column);
}

QString ringGridItem(const char *when, int index)
{
    const int columns = RingGridShape.columns;
    return QStringLiteral("%1, %2, %3")
        .arg(QString::fromUtf8(when), line(index / columns), extension(index % columns));
}

QString serviceItem(const FieldRef &ref)
{
    switch (ref.field) {
    case BackRing:
        return extensionItem(ref.index, QStringLiteral("Zpětné vyzvánění"));
    case Redirect:
        return extensionItem(ref.index, QStringLiteral("Přesměrování"));
    case RedirectWhen:
        return extensionItem(ref.index, QStringLiteral("Podmínka přesměrování"));
    case RingFrom:
        return extensionItem(
            ref.index, QStringLiteral("Vyzvánění %1").arg(lineNumber(ref.member)));
    case AlarmOnce:
        return extensionItem(ref.index, QStringLiteral("Buzení jednou"));
    case AlarmDaily:
        return extensionItem(ref.index, QStringLiteral("Buzení denně"));
    case ParkTo:
        return extensionItem(ref.index, QStringLiteral("Parkování %1").arg(ref.member + 1));
    case GeneralRing:
        return QStringLiteral("Generální vyzvánění %1").arg(lineNumber(ref.index));
    default:
        return QStringLiteral("Blokování přesměrování");
    }
}

QString dialItem(const FieldRef &ref)
{
    const bool pe = ref.field == PELine || ref.field == PENumber;
    const QString record = pe ? QStringLiteral("PE %1").arg(ref.index, 2, 10, QLatin1Char('0'))
                              : QStringLiteral("Zkrácená volba %1").arg(810 + ref.index);
    if (ref.field == ShortDialLine || ref.field == PELine)
        return record + QStringLiteral(", státní");
    if (ref.field == ShortDialComment)
        return record + QStringLiteral(", komentář");
    return record + QStringLiteral(", číslo");
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

SettingsGrid settingsGridOf(Field field)
{
    switch (field) {
    case ExtensionGrid:
        return SettingsGrid::Extension;
    case DayRingGrid:
        return SettingsGrid::DayRing;
    case NightRingGrid:
        return SettingsGrid::NightRing;
    case GlobalLineGrid:
        return SettingsGrid::GlobalLine;
    default:
        return SettingsGrid::GlobalExtension;
    }
}

// A cell's value as its grid shows it; the cells no grid shows, and bytes outside a cell's
// value set, as their number.
QString gridCellText(const FieldRef &ref, int64_t value)
{
    const GridRules &rules = gridRules(settingsGridOf(ref.field));
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
    const int i = ref.index;
    switch (ref.field) {
    case ExchangeType:
        return QStringLiteral("Typ ústředny");
    case ExchangeModule:
        return QStringLiteral("Modul %1").arg(QLatin1String(ModuleNames.at(std::size_t(i))));
    case DayStart:
        return QStringLiteral("Režim D/N, Den");
    case NightStart:
        return QStringLiteral("Režim D/N, Noc");
    case ExtensionGrid:
        return extensionGridItem(i);
    case DayRingGrid:
        return ringGridItem("Den", i);
    case NightRingGrid:
        return ringGridItem("Noc", i);
    case GlobalLineGrid:
        return QStringLiteral("%1, %2").arg(
            QLatin1String(GlobalLineRows.at(std::size_t(i / GlobalLineGridShape.columns))),
            line(i % GlobalLineGridShape.columns));
    case GlobalExtensionGrid:
        return QStringLiteral("%1, %2").arg(QLatin1String(GlobalExtensionRows.at(std::size_t(
                                                i / GlobalExtensionGridShape.columns))),
            extension(i % GlobalExtensionGridShape.columns));
    case ExtensionComment:
        return extensionItem(i, QStringLiteral("komentář"));
    case DayRingComment:
        return QStringLiteral("Den, %1, komentář").arg(line(i));
    case NightRingComment:
        return QStringLiteral("Noc, %1, komentář").arg(line(i));
    case G7U:
        return QStringLiteral("G7, U%1").arg(i + 1);
    case G0Day:
        return QStringLiteral("G0, %1").arg(QString::fromUtf8(Weekdays.at(std::size_t(i))));
    case FaxExtension:
        return QStringLiteral("G5, F/M");
    case Counter:
        return QStringLiteral("GG, C%1").arg(i);
    case ShortDialLine:
    case ShortDialNumber:
    case ShortDialComment:
    case PELine:
    case PENumber:
        return dialItem(ref);
    default:
        return serviceItem(ref);
    }
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
