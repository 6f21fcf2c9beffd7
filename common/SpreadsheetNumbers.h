#pragma once

#include <QString>

// What spreadsheets (Excel, LibreOffice Calc) do with a dialled number in a text cell they
// read, and how a number keeps its digits there.

namespace ornis {

// Whether a spreadsheet takes `number` for a value: digits alone. It then drops the leading
// zeros and shows 12 digits or more in exponent form. A 'P' keeps a number text.
[[nodiscard]] bool spreadsheetTakesForValue(const QString &number);

// Whether a spreadsheet may take a comment for something else than its text: a formula
// (starting with =, +, - or @), or a number, date, time or percentage (all of which hold a
// digit), or a truth value.
[[nodiscard]] bool spreadsheetMayConvert(const QString &text);

// ="0224": the formula whose result Excel and LibreOffice Calc keep as the text 0224 (a quote
// inside doubled); and the text of a cell written either so or plain.
[[nodiscard]] QString asTextFormula(const QString &text);
[[nodiscard]] QString withoutTextFormula(const QString &cell);

// Whether `text` is a value as a spreadsheet writes one it took from digits: with a decimal
// point or comma, or in exponent form ("2.24810111E+08"). No dialled number looks so.
[[nodiscard]] bool isSpreadsheetValue(const QString &text);

} // namespace ornis
