#include "DialTableCsv.h"

#include "CsvText.h"
#include "SpreadsheetNumbers.h"
#include "Windows1250.h"
#include "config/ChoiceLists.h"
#include "config/DialNumber.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <map>

namespace ornis {

namespace {

enum class Column { Key, Line, Number, Comment };

constexpr int FirstShortDial = 810;

QString keyColumnName(Block table)
{
    return table == Block::PE ? QStringLiteral("Záznam") : QStringLiteral("Volba");
}

QString columnName(Block table, Column column)
{
    switch (column) {
    case Column::Key:
        return keyColumnName(table);
    case Column::Line:
        return QStringLiteral("Státní");
    case Column::Number:
        return QStringLiteral("Číslo");
    case Column::Comment:
        break;
    }
    return QStringLiteral("Komentář");
}

std::vector<Column> columnsOf(Block table)
{
    if (table == Block::PE)
        return {Column::Key, Column::Line, Column::Number};
    return {Column::Key, Column::Line, Column::Number, Column::Comment};
}

std::span<const char *const> linesOf(Block table)
{
    return table == Block::PE ? peLines() : shortDialLines();
}

QString keyText(Block table, int record)
{
    return table == Block::PE ? QStringLiteral("%1").arg(record, 2, 10, QChar('0'))
                              : QString::number(FirstShortDial + record);
}

// The record a dial number names; nothing for one outside the table.
std::optional<int> recordOf(Block table, const QString &text)
{
    const qsizetype digits = table == Block::PE ? 2 : 3;
    if (text.isEmpty() || text.size() > digits)
        return std::nullopt;
    for (const QChar c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    const int record = text.toInt() - (table == Block::PE ? 0 : FirstShortDial);
    if (record < 0 || record >= dialRecordCount(table))
        return std::nullopt;
    return record;
}

QString listTextsJoined(Block table)
{
    QStringList texts;
    for (const char *text : linesOf(table))
        texts << QString::fromLatin1(text);
    return texts.join(QStringLiteral(", "));
}

// A field of a record, written so that a spreadsheet keeps it as the text it is: a number of
// digits alone and a comment it would take for a value or a formula as ="...".
QString spreadsheetField(const QStringList &record, qsizetype column, QChar separator)
{
    const QString &text = record[column];
    const bool asText = column == DialNumberColumn
        ? spreadsheetTakesForValue(text)
        : column == DialCommentColumn && spreadsheetMayConvert(text);
    if (!asText)
        return csvField(text, separator);
    // The formula's own quotes need no quoting of the field; a separator or a line break in
    // it does.
    const QString formula = asTextFormula(text);
    const bool plain = !text.contains(separator) && !text.contains(u'\n') && !text.contains(u'\r');
    return plain ? formula : csvField(formula, separator);
}

// The header as it is, the records with their fields as a spreadsheet keeps them.
QString spreadsheetLines(const std::vector<QStringList> &rows, QChar separator)
{
    QString text;
    for (const QStringList &row : rows) {
        QStringList fields;
        for (qsizetype column = 0; column < row.size(); ++column)
            fields << (&row == &rows.front() ? csvField(row[column], separator)
                                             : spreadsheetField(row, column, separator));
        text += fields.join(separator) + QStringLiteral("\r\n");
    }
    return text;
}

// Reads the lines of a file into rows, one column layout for all of them.
class RowReader
{
public:
    RowReader(Block table, DialRows &result)
        : table_(table)
        , result_(result)
    {
        result_.table = table;
    }

    void read(const DialLine &line, const std::vector<Column> &columns,
        std::optional<int> record = std::nullopt)
    {
        line_ = line.line;
        if (line.cells.size() != columns.size()) {
            problem(QStringLiteral("has %1 fields, not %2")
                        .arg(line.cells.size())
                        .arg(columns.size()));
            return;
        }
        DialRow row;
        bool good = true;
        if (record)
            row.record = *record;
        for (std::size_t i = 0; i < columns.size(); ++i)
            good = take(columns[i], line.cells[i], row) && good;
        if (good)
            result_.rows.push_back(row);
    }

    void at(int line) { line_ = line; }
    void problem(const QString &text) { result_.problems.push_back({line_, text}); }

private:
    void refuse(Column column, const QString &value, const QString &why)
    {
        problem(QStringLiteral("column \"%1\": \"%2\" %3")
                    .arg(columnName(table_, column), value, why));
    }

    bool take(Column column, const DialCell &cell, DialRow &row)
    {
        if (!cell.text) {
            problem(QStringLiteral("column \"%1\" holds bytes that are no Windows-1250 text")
                        .arg(columnName(table_, column)));
            return false;
        }
        const QString &value = *cell.text;
        switch (column) {
        case Column::Key:
            return takeKey(value, row);
        case Column::Line:
            return takeLine(value, row);
        case Column::Number:
            return takeNumber(cell, row);
        case Column::Comment:
            break;
        }
        row.comment = toWindows1250(withoutTextFormula(value));
        if (!row.comment)
            refuse(column, value, QStringLiteral("has a character Windows-1250 cannot hold"));
        return row.comment.has_value();
    }

    bool takeKey(const QString &value, DialRow &row)
    {
        const std::optional<int> record = recordOf(table_, value);
        if (!record) {
            refuse(Column::Key, value,
                table_ == Block::PE ? QStringLiteral("is no record (00-99)")
                                    : QStringLiteral("is no short dial (810-899)"));
            return false;
        }
        if (const auto seen = seenOn_.find(*record); seen != seenOn_.end()) {
            refuse(Column::Key, value,
                QStringLiteral("is given twice (also on line %1)").arg(seen->second));
            return false;
        }
        seenOn_.emplace(*record, line_);
        row.record = *record;
        return true;
    }

    bool takeLine(const QString &value, DialRow &row)
    {
        if (value.isEmpty()) {
            row.line = -1; // no entry chosen
            return true;
        }
        const std::span<const char *const> list = linesOf(table_);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (value == QLatin1String(list[i])) {
                row.line = int32_t(i);
                return true;
            }
        }
        refuse(Column::Line, value,
            QStringLiteral("is not in the list (%1)").arg(listTextsJoined(table_)));
        return false;
    }

    bool takeNumber(const DialCell &cell, DialRow &row)
    {
        const QString value = withoutTextFormula(*cell.text);
        if (cell.number || isSpreadsheetValue(value)) {
            // The spreadsheet keeps a value, not the digits: a leading 0 is gone, and so are
            // the digits past 15 or those an exponent form leaves out.
            refuse(Column::Number, value,
                QStringLiteral("is a spreadsheet's number: leading zeros may be lost (keep the "
                               "column as text)"));
            return false;
        }
        const std::optional<Text> number = toWindows1250(value);
        if (!number || !isDialNumber(*number)) {
            refuse(Column::Number, value, QStringLiteral("is no number (0-9 and P, at most 14)"));
            return false;
        }
        row.number = number;
        return true;
    }

    Block table_;
    DialRows &result_;
    int line_ = 1;
    std::map<int, int> seenOn_; // record -> the line that gave it
};

bool isUtf8(QByteArrayView text)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(text); // the decoding runs only when converted
    Q_UNUSED(decoded);
    return !decoder.hasError();
}

// The records of a text with their fields decoded: UTF-8, or else Windows-1250.
std::vector<DialLine> decodedLines(const CsvText &csv, bool utf8)
{
    std::vector<DialLine> lines;
    for (const CsvRecord &record : csv.records) {
        DialLine &line = lines.emplace_back(DialLine {record.line, {}});
        for (const QByteArray &field : record.fields)
            line.cells.push_back(
                {utf8 ? QString::fromUtf8(field) : fromWindows1250(field.toStdString())});
    }
    return lines;
}

// The table and the columns a header names, or the problems of the header.
std::optional<std::vector<Column>> headerColumns(
    const DialLine &header, Block &table, RowReader &reader)
{
    std::vector<QString> names;
    for (const DialCell &cell : header.cells)
        names.push_back(cell.text.value_or(QString()).trimmed());
    const auto named = [&names](const QString &name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    if (named(keyColumnName(Block::PE)) && !named(keyColumnName(Block::ShortDials)))
        table = Block::PE;
    else if (!named(keyColumnName(Block::ShortDials))) {
        reader.problem(QStringLiteral("no column \"Volba\" or \"Záznam\""));
        return std::nullopt;
    }
    std::vector<Column> columns;
    const std::vector<Column> known = columnsOf(table);
    QStringList knownNames;
    for (const Column column : known)
        knownNames << columnName(table, column);
    bool good = true;
    for (const QString &name : names) {
        const qsizetype index = knownNames.indexOf(name);
        if (index < 0) {
            reader.problem(QStringLiteral("column \"%1\" is unknown (%2)")
                               .arg(name, knownNames.join(QStringLiteral(", "))));
            good = false;
        } else if (std::find(columns.begin(), columns.end(), known[std::size_t(index)])
            != columns.end()) {
            reader.problem(QStringLiteral("column \"%1\" is given twice").arg(name));
            good = false;
        } else {
            columns.push_back(known[std::size_t(index)]);
        }
    }
    if (!good)
        return std::nullopt;
    return columns;
}

} // namespace

int dialRecordCount(Block table)
{
    return table == Block::PE ? PERecordCount : ShortDialCount;
}

DialRows readDialLines(std::span<const DialLine> lines)
{
    DialRows result;
    RowReader header(Block::ShortDials, result);
    if (lines.empty()) {
        header.problem(QStringLiteral("no header"));
        return result;
    }
    header.at(lines.front().line);
    Block table = Block::ShortDials;
    const std::optional<std::vector<Column>> columns = headerColumns(lines.front(), table, header);
    if (!columns)
        return result;
    RowReader reader(table, result);
    for (const DialLine &line : lines.subspan(1))
        reader.read(line, *columns);
    return result;
}

DialRows readDialRows(QByteArrayView text)
{
    const CsvText csv = readCsv(text, csvSeparatorOf(text));
    DialRows result;
    if (!csv.records.empty() || !csv.unclosedQuoteLine) // else the quote took the header
        result = readDialLines(decodedLines(csv, isUtf8(text)));
    if (csv.unclosedQuoteLine)
        result.problems.push_back({*csv.unclosedQuoteLine, "a quoted field is not closed"});
    return result;
}

DialRows readDialRowsFor(QByteArrayView text, Block table, std::span<const int> records)
{
    DialRows result;
    const CsvText csv = readCsv(text, '\t');
    RowReader reader(table, result);
    std::vector<Column> columns = columnsOf(table);
    columns.erase(columns.begin());
    std::size_t next = 0;
    for (const DialLine &row : decodedLines(csv, isUtf8(text))) {
        if (next == records.size()) {
            result.problems.push_back({row.line, QStringLiteral("lies past the last row")});
            break;
        }
        reader.read(row, columns, records[next++]);
    }
    if (csv.unclosedQuoteLine)
        result.problems.push_back({*csv.unclosedQuoteLine, "a quoted field is not closed"});
    return result;
}

DialRows readPastedDialRows(QByteArrayView text, Block table, std::span<const int> records)
{
    const CsvText csv = readCsv(text, '\t');
    const bool header = !csv.records.empty()
        && std::ranges::any_of(csv.records.front().fields, [](const QByteArray &field) {
               const QString name = QString::fromUtf8(field).trimmed();
               return name == keyColumnName(Block::ShortDials) || name == keyColumnName(Block::PE);
           });
    if (!header)
        return readDialRowsFor(text, table, records);
    DialRows rows = readDialRows(text);
    if (rows.problems.empty() && rows.table != table) {
        rows.problems.push_back({1, QStringLiteral("holds the rows of the other table")});
        rows.rows.clear();
    }
    return rows;
}

void applyDialRows(ExchangeConfig &config, const DialRows &rows)
{
    for (const DialRow &row : rows.rows) {
        if (rows.table == Block::PE) {
            PERecord &target = config.PETable[std::size_t(row.record)];
            target.Line = row.line.value_or(target.Line);
            target.Number = row.number.value_or(target.Number);
        } else {
            ShortDialRecord &target = config.ShortDialTable[std::size_t(row.record)];
            target.Line = row.line.value_or(target.Line);
            target.Number = row.number.value_or(target.Number);
            target.Comment = row.comment.value_or(target.Comment);
        }
    }
}

std::optional<std::vector<QStringList>> dialTableRows(
    const ExchangeConfig &config, Block table, const std::vector<int> &records)
{
    std::vector<QStringList> rows(1);
    for (const Column column : columnsOf(table))
        rows.front() << columnName(table, column);
    std::vector<int> shown = records;
    if (shown.empty())
        for (int record = 0; record < dialRecordCount(table); ++record)
            shown.push_back(record);
    for (const int record : shown) {
        const std::size_t r = std::size_t(record);
        const bool pe = table == Block::PE;
        const int32_t line = pe ? config.PETable[r].Line : config.ShortDialTable[r].Line;
        const std::optional<QString> number
            = fromWindows1250(pe ? config.PETable[r].Number : config.ShortDialTable[r].Number);
        const std::optional<QString> comment = pe
            ? std::optional<QString>(QString())
            : fromWindows1250(config.ShortDialTable[r].Comment);
        if (!number || !comment)
            return std::nullopt;
        QStringList &fields = rows.emplace_back(QStringList {
            keyText(table, record), QString::fromLatin1(listText(linesOf(table), line)), *number});
        if (!pe)
            fields << *comment;
    }
    return rows;
}

std::optional<QString> dialTableText(
    const ExchangeConfig &config, Block table, QChar separator, const std::vector<int> &records)
{
    const std::optional<std::vector<QStringList>> rows = dialTableRows(config, table, records);
    if (!rows)
        return std::nullopt;
    return spreadsheetLines(*rows, separator);
}

std::optional<QByteArray> dialTableCsv(const ExchangeConfig &config, Block table)
{
    const std::optional<QString> text = dialTableText(config, table, u';');
    if (!text)
        return std::nullopt;
    return Utf8ByteOrderMark.toByteArray() + text->toUtf8();
}

QStringList dialRowProblemLines(const QString &file, const DialRows &rows)
{
    QStringList lines;
    for (const DialRowProblem &problem : rows.problems)
        lines << (problem.line > 0
                ? QStringLiteral("%1:%2: %3").arg(file).arg(problem.line).arg(problem.text)
                : QStringLiteral("%1: %2").arg(file, problem.text));
    return lines;
}

} // namespace ornis
