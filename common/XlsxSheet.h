#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <span>
#include <vector>

// One sheet of a spreadsheet's workbook (.xlsx: a zip archive of XML parts), as the cells
// it holds. The reader takes the first sheet of any workbook that Excel or LibreOffice Calc
// writes; every size, index and cell reference in it is checked before it is used.

namespace ornis {

struct SheetCell
{
    int column = 0; // from 0, for column A
    QString text; // a number as the sheet writes it ("224810111", "2.2E+08")
    bool number = false; // a value cell (number, date, truth value or error), not a text
};

struct SheetRow
{
    int row = 0; // from 1
    std::vector<SheetCell> cells; // by column; empty cells left out
};

// What keeps a workbook from being read: at a row of the sheet, or at none (0).
struct SheetProblem
{
    int row = 0;
    QString text; // "cell C3 names shared text 40 of 12"
};

struct Sheet
{
    std::vector<SheetRow> rows; // by row; rows without a cell left out
    std::optional<SheetProblem> problem; // the rows are void when set
};

// The first sheet of a workbook.
[[nodiscard]] Sheet readXlsxSheet(QByteArrayView file);

// The parts of a workbook that hold the texts: the shared texts (xl/sharedStrings.xml), and a
// sheet whose cells name them by index. Open for the tests and the fuzzer.
[[nodiscard]] std::optional<std::vector<QString>> readSharedTexts(const QByteArray &xml);
[[nodiscard]] Sheet readSheetPart(const QByteArray &xml, std::span<const QString> sharedTexts);

// A text as a workbook's XML keeps it and back: a character XML cannot hold (a control
// character, CR) as _x000D_, and a text that looks like such an escape with its '_' escaped.
[[nodiscard]] QString xlsxEscaped(const QString &text);
[[nodiscard]] QString xlsxUnescaped(const QString &text);

// The name of a cell: "C3" for column 2, row 3.
[[nodiscard]] QString cellName(int column, int row);

} // namespace ornis
