#pragma once

#include "config/Blocks.h"
#include "config/ExchangeConfig.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <vector>

// The short dials and the PE records as a spreadsheet holds them: a header, then one row
// per record. Short dials: "Volba;Státní;Číslo;Komentář", rows 810..899; PE:
// "Záznam;Státní;Číslo", rows 00..99. The line is its list text ("vyp", "0", "91"..),
// empty for a value without an entry.

namespace ornis {

// One record of a text: the values of the columns it has.
struct DialRow
{
    int record = 0;
    std::optional<int32_t> line;
    std::optional<Text> number;
    std::optional<Text> comment;
};

struct DialRowProblem
{
    int line = 0; // the text's line, from 1; 0 for the file as a whole
    QString text; // column "Číslo": "12a4" is no number (0-9 and P, at most 14)
};

struct DialRows
{
    Block table = Block::ShortDials;
    std::vector<DialRow> rows; // in the text's order
    std::vector<DialRowProblem> problems; // the rows are void unless this is empty
};

// A cell of a table as a file holds it, before its value is read.
struct DialCell
{
    std::optional<QString> text; // nothing: bytes that are no text in the file's encoding
    bool number = false; // a spreadsheet's number cell: leading zeros are not kept in it
};

// A row of a file: the line (or the sheet's row) it stands on, from 1, and its cells.
struct DialLine
{
    int line = 0;
    std::vector<DialCell> cells;
};

// The rows of lines whose first is the header, which decides the table and the columns (in
// any order; the dial number's column is required). Every form of the tables is read
// through here. A "Číslo" may be written ="0224", as spreadsheets keep it text; one a
// spreadsheet took for a value (a number cell, "2.24810111E+08") is refused, as its leading
// zeros may be lost.
[[nodiscard]] DialRows readDialLines(std::span<const DialLine> lines);

// The rows of a CSV text with its header line. The separator ';', ',' or tab is found from
// the header; UTF-8 with or without a byte order mark, or Windows-1250 when the bytes are
// no UTF-8.
[[nodiscard]] DialRows readDialRows(QByteArrayView text);

// Rows without a header, as a spreadsheet's selection gives them: tab-separated values of
// the columns after the dial number, for `records` in turn.
[[nodiscard]] DialRows readDialRowsFor(
    QByteArrayView text, Block table, std::span<const int> records);

// Rows pasted into `table`: by dial number when the first line is a header, else for
// `records` in turn.
[[nodiscard]] DialRows readPastedDialRows(
    QByteArrayView text, Block table, std::span<const int> records);

// Sets the values the rows hold; the records and columns they leave out keep theirs.
void applyDialRows(ExchangeConfig &config, const DialRows &rows);

// The header and the records `records` of `table` (all of them when empty) as texts, in
// the columns as written: the dial number, "Státní", "Číslo", and "Komentář" of the short
// dials. Fails when a text has no Unicode form.
[[nodiscard]] std::optional<std::vector<QStringList>> dialTableRows(
    const ExchangeConfig &config, Block table, const std::vector<int> &records = {});
inline constexpr qsizetype DialNumberColumn = 2;
inline constexpr qsizetype DialCommentColumn = 3;

// Those rows separated by `separator`, lines ending in CR LF.
[[nodiscard]] std::optional<QString> dialTableText(const ExchangeConfig &config, Block table,
    QChar separator, const std::vector<int> &records = {});
// The whole table as a CSV file: ';', UTF-8 with a byte order mark; a "Číslo" of digits
// alone as ="0224", which a spreadsheet keeps as the text 0224.
[[nodiscard]] std::optional<QByteArray> dialTableCsv(const ExchangeConfig &config, Block table);

// "FILE:LINE: ..." for each problem ("FILE: ..." for the file as a whole).
[[nodiscard]] QStringList dialRowProblemLines(const QString &file, const DialRows &rows);

// The number of records of `table`.
[[nodiscard]] int dialRecordCount(Block table);

} // namespace ornis
