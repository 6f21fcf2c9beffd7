#pragma once

#include "DialTableCsv.h"
#include "config/Status.h"

#include <QString>
#include <optional>

// A dial table's file, in the form its name's suffix gives: CSV or a spreadsheet's
// workbook. The window and ornisset-cli read and write the tables through here.

namespace ornis {

enum class DialFileForm { Csv, Xlsx };

// By the name's suffix (.csv, .xlsx), in any case; nothing for another name.
[[nodiscard]] std::optional<DialFileForm> dialFileFormOf(const QString &path);

// The rows of the file at `path`, a workbook by the suffix .xlsx, else CSV; fails when it
// cannot be read. The rows name their problems.
[[nodiscard]] Status readDialFile(const QString &path, DialRows &rows);

// `table` of `config` as the whole file at `path`, a workbook or CSV as read, or nothing
// written.
[[nodiscard]] Status writeDialFile(const QString &path, const ExchangeConfig &config, Block table);

} // namespace ornis
