#pragma once

#include "XlsxSheet.h"
#include "config/Status.h"

#include <QByteArray>
#include <QString>
#include <span>

// A workbook of one sheet, written by libxlsxwriter: the mirror of readXlsxSheet.

namespace ornis {

// How a column of a written sheet shows its cells.
struct XlsxColumn
{
    double width = 0; // in characters
    const char *numberFormat = nullptr; // "@": text, also what is typed there later; "00"
};

// `rows` as the sheet `name` of a new workbook, the first row in bold, each cell in the
// format of its column; a cell with `number` set is written as a number, the others as
// texts. The same rows give the same bytes. Fails when the file cannot be made or a text is
// longer than a cell holds.
[[nodiscard]] Status writeXlsxSheet(const QString &name, std::span<const SheetRow> rows,
    std::span<const XlsxColumn> columns, QByteArray &file);

} // namespace ornis
