#include "Report.h"

#include "ChoiceLists.h"
#include "GridRules.h"
#include "Numbering.h"

#include <array>
#include <cstdio>
#include <initializer_list>
#include <span>
#include <string_view>

namespace ornis {

namespace {

// Texts by cell byte. A byte beyond its table (possible after a receive or a load) prints
// the text of value 0, so that every column keeps its width.
constexpr std::array<const char *, 2> Incoming {"-", "I"};
constexpr std::array<const char *, 2> Outgoing {"-", "O"};

// A grid cell prints the text the grid shows for it, padded to `width`; where the grid
// shows nothing the report prints `blank`.
struct CellPrint
{
    CellKind kind;
    const char *blank;
    std::size_t width = 0;
};
constexpr CellPrint Mark {CellKind::Mark, "-"};
constexpr CellPrint Call {CellKind::Call, ""};
constexpr CellPrint LP {CellKind::LP, "-   ", 3};
constexpr CellPrint G2 {CellKind::G2, "-"};
constexpr CellPrint J {CellKind::J, "- "};
constexpr CellPrint L {CellKind::L, "- "};

constexpr const char *Dashes78
    = "------------------------------------------------------------------------------";
constexpr const char *Dashes27 = "---------------------------";
constexpr const char *BlankLine = " ";

// Windows-1250 texts of the headings.
constexpr const char *Title
    = "----------------------------------- ZPR\xC1VA -----------------------------------";
constexpr const char *ExtensionHeading
    = "POB.   91    92    93    94    Call    7    7n    00    Koment\xE1\xF8";
constexpr const char *DayHeading
    = "DEN    21 22 23 24 25 26 27 28 31 32 33 34 35 36 37 38  Koment\xE1\xF8";
constexpr const char *NightHeading
    = "NOC    21 22 23 24 25 26 27 28 31 32 33 34 35 36 37 38  Koment\xE1\xF8";
constexpr const char *SwitchHeading = "P\xD8"
                                      "EP.  U1    U2    U3    U4";
constexpr const char *WeekdayHeading = "NOC    Ne  Po  \xDAt  St  \xC8t  P\xE1  So";
constexpr const char *CounterHeading = "\xC8\xCDT.   C0   C1   C2   C3   C4   C5   C6   C7   C8";
constexpr const char *ShortDialHeading
    = "ZKR\xC1"
      "CEN\xC9 VOLBY           Koment\xE1\xF8                                 Koment\xE1\xF8";

constexpr const char *ExtensionFormat
    = "%s:    %s%s    %s%s    %s%s    %s%s    %s    %s    %s     %s     %s";
constexpr const char *ShortDialFormat = "%s:  %s %s %s";

template<std::size_t N>
const char *tableText(const std::array<const char *, N> &table, uint8_t byte)
{
    return byte < N ? table[byte] : table[0];
}

// A text of the model placed into a line: a line feed or another control character in a
// comment would break the report's fixed lines, so it prints as a blank.
Text printable(std::string_view text)
{
    Text result(text);
    for (char &c : result) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = ' ';
    }
    return result;
}

// Fills each "%s" of `format` with the next value, in order.
Text fill(std::string_view format, std::initializer_list<std::string_view> values)
{
    Text line;
    auto value = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            if (value != values.end())
                line += *value++;
            ++i;
        } else {
            line += format[i];
        }
    }
    return line;
}

// "%.Nd": at least `digits` digits, leading zeros.
Text zeroPadded(int value, int digits)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*d", digits, value);
    return buffer;
}

Text padRight(Text text, std::size_t width, char pad)
{
    if (text.size() < width)
        text.append(width - text.size(), pad);
    return text;
}

Text cellText(const CellPrint &print, uint8_t byte)
{
    const std::string_view text
        = cellValueText(print.kind, byte).value_or(cellValueText(print.kind, 0).value_or(""));
    return text.empty() ? Text(print.blank) : padRight(Text(text), print.width, ' ');
}

uint8_t extensionCell(const ExchangeConfig &config, int row, int column)
{
    return config.Grids.ExtensionGrid[ExtensionGridShape.cellIndex(column, row)];
}

Text extensionLine(
    const ExchangeConfig &config, int row, const Text &label, std::string_view comment)
{
    auto cell = [&](int column) { return extensionCell(config, row, column); };
    using namespace ExtensionColumn;
    return fill(ExtensionFormat,
        {label, tableText(Incoming, cell(Incoming91)), tableText(Outgoing, cell(Outgoing91)),
            tableText(Incoming, cell(Incoming91 + 1)), tableText(Outgoing, cell(Outgoing91 + 1)),
            tableText(Incoming, cell(Incoming91 + 2)), tableText(Outgoing, cell(Outgoing91 + 2)),
            tableText(Incoming, cell(Incoming91 + 3)), tableText(Outgoing, cell(Outgoing91 + 3)),
            cellText(Call, cell(ExtensionColumn::Call)), cellText(Mark, cell(Seven)),
            cellText(Mark, cell(SevenN)), cellText(Mark, cell(ZeroZero)), printable(comment)});
}

Text ringLine(std::span<const uint8_t> grid, int line, std::string_view comment)
{
    Text text = std::to_string(lineNumber(line)) + ":    ";
    for (int e = 0; e < ExtensionCount; ++e) {
        text += cellText(Mark, grid[RingGridShape.cellIndex(e + 1, line + 1)]);
        text += "  ";
    }
    return text + " " + printable(comment);
}

Text globalExtensionLine(const ExchangeConfig &config, const char *label, int row,
    const CellPrint &print, const char *separator)
{
    Text text = label;
    for (int e = 0; e < ExtensionCount; ++e) {
        const uint8_t byte
            = config.Grids.GlobalExtensionGrid[GlobalExtensionGridShape.cellIndex(e + 1, row)];
        text += cellText(print, byte);
        text += separator;
    }
    return text;
}

Text globalLineLine(
    const ExchangeConfig &config, const char *format, int row, const CellPrint &print)
{
    auto cell = [&](int line) {
        return cellText(
            print, config.Grids.GlobalLineGrid[GlobalLineGridShape.cellIndex(line + 1, row)]);
    };
    return fill(format, {cell(0), cell(1), cell(2), cell(3)});
}

// One short-dial entry: number, line text (3 wide), number with dots (14 wide) and the
// comment's first 11 characters (12 wide).
Text shortDialEntry(const ExchangeConfig &config, int number)
{
    const ShortDialRecord &record = config.ShortDialTable[std::size_t(number - FirstShortDial)];
    const Text comment = printable(std::string_view(record.Comment).substr(0, 11));
    return fill(ShortDialFormat,
        {zeroPadded(number, 3), padRight(listText(shortDialLines(), record.Line), 3, ' '),
            padRight(printable(record.Number), 14, '.'), padRight(comment, 12, ' ')});
}

std::vector<Text> firstPage(const ExchangeConfig &config, const Text &dateTime)
{
    std::vector<Text> lines;
    lines.reserve(ReportFirstPageLines);
    lines.push_back(Title);
    lines.push_back(fill("%s    D = %s  N = %s",
        {printable(dateTime), printable(config.DayStart), printable(config.NightStart)}));
    lines.push_back(Dashes78);
    lines.push_back(BlankLine);
    lines.push_back(ExtensionHeading);
    lines.push_back(Dashes78);
    for (int e = 0; e < ExtensionCount; ++e)
        lines.push_back(extensionLine(config, e + 1, std::to_string(extensionNumber(e)),
            config.ExtensionComments[std::size_t(e)]));
    lines.push_back(extensionLine(config, ExtensionRowZeroZero, "00", {}));
    lines.push_back(BlankLine);

    lines.push_back(DayHeading);
    lines.push_back(Dashes78);
    for (int l = 0; l < LineCount; ++l)
        lines.push_back(ringLine(config.Grids.DayRingGrid, l, config.DayRingComments[l]));
    lines.push_back(BlankLine);
    lines.push_back(NightHeading);
    lines.push_back(Dashes78);
    for (int l = 0; l < LineCount; ++l)
        lines.push_back(ringLine(config.Grids.NightRingGrid, l, config.NightRingComments[l]));
    lines.push_back(BlankLine);

    lines.push_back("OBEC.  91    92    93    94");
    lines.push_back(Dashes27);
    lines.push_back(globalLineLine(config, "LP:    %s   %s   %s   %s", GlobalLineRow::LP, LP));
    lines.push_back(
        globalLineLine(config, "G1:    %s     %s     %s     %s", GlobalLineRow::G1, Mark));
    lines.push_back(
        globalLineLine(config, "G9:    %s     %s     %s     %s", GlobalLineRow::G9, Mark));
    lines.push_back(
        globalLineLine(config, "G2:    %s     %s     %s     %s", GlobalLineRow::G2, G2));
    lines.push_back(BlankLine);

    lines.push_back("OBEC.  21 22 23 24 25 26 27 28 31 32 33 34 35 36 37 38");
    lines.push_back("------------------------------------------------------");
    using namespace GlobalExtensionRow;
    lines.push_back(globalExtensionLine(config, "G3:    ", G3, Mark, "  "));
    lines.push_back(globalExtensionLine(config, "G4:    ", G4, Mark, "  "));
    lines.push_back(globalExtensionLine(config, "G6:    ", G6J, J, " "));
    lines.push_back(globalExtensionLine(config, "G6:    ", G6L, L, " "));
    lines.push_back(globalExtensionLine(config, "G8:    ", G8, Mark, "  "));
    lines.push_back(globalExtensionLine(config, "GP:    ", GP, Mark, "  "));
    lines.push_back(BlankLine);

    lines.push_back("FAX/MODEM");
    lines.push_back("---------");
    lines.push_back(fill("G5:    %s", {listText(faxChoices(), config.FaxExtension)}));
    lines.push_back(BlankLine);

    lines.push_back(SwitchHeading);
    lines.push_back(Dashes27);
    const auto g7 = [&](int u) { return listText(g7Choices(), config.G7U[std::size_t(u)]); };
    lines.push_back(fill("G7:    %s    %s    %s    %s", {g7(0), g7(1), g7(2), g7(3)}));
    return lines;
}

std::vector<Text> secondPage(const ExchangeConfig &config)
{
    std::vector<Text> lines;
    lines.reserve(ReportSecondPageLines);
    lines.push_back(WeekdayHeading);
    lines.push_back("---------------------------------");
    const auto day = [&](int d) { return cellText(Mark, config.G0Days[std::size_t(d)]); };
    lines.push_back(fill("G0:    %s   %s   %s   %s   %s   %s   %s",
        {day(0), day(1), day(2), day(3), day(4), day(5), day(6)}));
    lines.push_back(BlankLine);

    lines.push_back(CounterHeading);
    lines.push_back("-------------------------------------------------");
    Text counters = "GG:";
    for (int c = 0; c < CounterCount; ++c)
        counters += (c == 0 ? "    " : "   ") + zeroPadded(config.Counters[std::size_t(c)], 2);
    lines.push_back(counters);
    lines.push_back(BlankLine);

    lines.push_back(ShortDialHeading);
    lines.push_back(Dashes78);
    for (int number = FirstShortDial; number <= 819; ++number)
        lines.push_back(shortDialEntry(config, number));
    // Four blocks of two columns: 820..829 beside 860..869, and so on up to 859 / 899.
    for (int left = 820; left <= 850; left += 10) {
        lines.push_back(BlankLine);
        for (int number = left; number < left + 10; ++number)
            lines.push_back(
                shortDialEntry(config, number) + "    " + shortDialEntry(config, number + 40));
    }
    return lines;
}

} // namespace

Report buildReport(const ExchangeConfig &config, const Text &dateTime)
{
    return Report {firstPage(config, dateTime), secondPage(config)};
}

Text reportPlainText(const Report &report)
{
    Text text;
    for (const Text &line : report.firstPage)
        text += line + '\n';
    text += '\f';
    for (const Text &line : report.secondPage)
        text += line + '\n';
    return text;
}

} // namespace ornis
