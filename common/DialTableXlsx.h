#pragma once

#include "DialTableCsv.h"
#include "config/Status.h"

#include <QByteArray>
#include <QByteArrayView>

// The dial tables as a spreadsheet's workbook (.xlsx): one sheet named after the page, with
// the header and the columns of the CSV form. Every "Číslo" is a text cell in a column
// formatted as text, so a spreadsheet keeps its leading zeros, also of what is typed there.

namespace ornis {

// The rows of the workbook's first sheet; a row names its problems by the sheet's row.
[[nodiscard]] DialRows readDialXlsx(QByteArrayView file);

// The whole table as a workbook.
[[nodiscard]] Status dialTableXlsx(const ExchangeConfig &config, Block table, QByteArray &file);

} // namespace ornis
