#include "DialTableXlsx.h"

#include "BlockNames.h"
#include "XlsxSheet.h"
#include "XlsxWriter.h"

#include <algorithm>
#include <array>

namespace ornis {

namespace {

// The header's columns, up to its last cell.
int headerWidth(const SheetRow &header)
{
    return header.cells.empty() ? 0 : header.cells.back().column + 1;
}

// The sheet's rows as lines of the header's width; a cell past it is a problem of its row.
std::vector<DialLine> sheetLines(const Sheet &sheet, std::vector<DialRowProblem> &problems)
{
    std::vector<DialLine> lines;
    const int width = sheet.rows.empty() ? 0 : headerWidth(sheet.rows.front());
    for (const SheetRow &row : sheet.rows) {
        DialLine &line = lines.emplace_back(
            DialLine {row.row, std::vector<DialCell>(std::size_t(width), {QString()})});
        for (const SheetCell &cell : row.cells) {
            if (cell.column >= width) {
                problems.push_back({row.row,
                    QStringLiteral("cell %1 lies past the header's columns")
                        .arg(cellName(cell.column, row.row))});
                break;
            }
            line.cells[std::size_t(cell.column)] = {cell.text, cell.number};
        }
    }
    return lines;
}

} // namespace

DialRows readDialXlsx(QByteArrayView file)
{
    const Sheet sheet = readXlsxSheet(file);
    if (sheet.problem) {
        DialRows rows;
        rows.problems.push_back({sheet.problem->row, sheet.problem->text});
        return rows;
    }
    std::vector<DialRowProblem> outside;
    DialRows rows = readDialLines(sheetLines(sheet, outside));
    rows.problems.insert(rows.problems.end(), outside.begin(), outside.end());
    std::ranges::stable_sort(rows.problems, {}, &DialRowProblem::line);
    return rows;
}

Status dialTableXlsx(const ExchangeConfig &config, Block table, QByteArray &file)
{
    const std::optional<std::vector<QStringList>> texts = dialTableRows(config, table);
    if (!texts)
        return Status::failure("A text has no Unicode form");
    std::vector<SheetRow> rows;
    for (std::size_t r = 0; r < texts->size(); ++r) {
        SheetRow &row = rows.emplace_back(SheetRow {int(r) + 1, {}});
        const QStringList &fields = (*texts)[r];
        for (qsizetype c = 0; c < fields.size(); ++c) {
            if (!fields[c].isEmpty()) // the dial number as a number, as a spreadsheet sorts it
                row.cells.push_back({int(c), fields[c], r > 0 && c == 0});
        }
    }
    static_assert(DialNumberColumn == 2, "the columns below name the number's third");
    const std::array<XlsxColumn, 4> columns {{
        {8, table == Block::PE ? "00" : nullptr}, // "07" as the page shows it
        {8, nullptr},
        {18, "@"},
        {40, nullptr},
    }};
    return writeXlsxSheet(blockCaption(table), rows,
        std::span(columns).first(std::size_t(texts->front().size())), file);
}

} // namespace ornis
